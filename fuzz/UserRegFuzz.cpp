// Feeds arbitrary bytes to the reader of Wine's user.reg: whatever categories it finds must be
// usable place types (not empty, no control characters, unique without regard to case).
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "core/base/Text.h"
#include "core/output/ZerrinCategories.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const brix::ZerrinCategories categories = brix::ZerrinCategories::ParseUserReg(
        std::string_view(reinterpret_cast<const char*>(data), size));
    const auto& all = categories.All();
    for (std::size_t i = 0; i < all.size(); ++i) {
        if (all[i].Name.empty()) std::abort();
        for (unsigned char c : all[i].Name)
            if (c < 0x20 || c == 0x7F) std::abort();
        for (std::size_t j = 0; j < i; ++j)
            if (brix::NamesEqual(all[i].Name, all[j].Name)) std::abort();
    }
    return 0;
}
