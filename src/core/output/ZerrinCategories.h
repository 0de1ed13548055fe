#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace brix {

// One place category that Zerrin has registered for the current user.
struct ZerrinCategory {
    std::string Name;  // UTF-8
    bool Shop = false;
};

// Zerrin's categories, read once: on Windows from the current user's registry key
// "Software\Zerrin\Categories" (one subkey per category; a DWORD "Shop" other than 0 marks a
// shop), elsewhere from the user.reg of the Wine prefix Zerrin runs in. Only read, never
// written. An absent or unreadable source gives no categories.
class ZerrinCategories {
public:
    ZerrinCategories() = default;
    explicit ZerrinCategories(std::vector<ZerrinCategory> categories);

    // The categories of this machine's current user (see above).
    static ZerrinCategories FromSystem();
    // The categories stored in a Wine user.reg file; none when it cannot be read.
    static ZerrinCategories FromUserReg(const std::string& path);
    // The categories in the text of a user.reg file. Lines that do not parse are skipped, so
    // a damaged file gives what can still be read.
    static ZerrinCategories ParseUserReg(std::string_view text);

    // The user.reg of the Wine prefix: $WINEPREFIX, else ~/.wine; empty when neither is known.
    static std::string WineUserRegPath();

    // In the order found; names are unique without regard to case.
    const std::vector<ZerrinCategory>& All() const { return categories_; }
    // True when the place type names a shop category (without regard to case, as the
    // registry looks keys up).
    bool IsShop(std::string_view placeType) const;

private:
    // Adds the category or, for a name already known, merges the shop flag into it.
    void Add(std::string name, bool shop, bool hasShopValue);

    std::vector<ZerrinCategory> categories_;
};

}  // namespace brix
