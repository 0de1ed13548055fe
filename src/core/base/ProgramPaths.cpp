#include "core/base/ProgramPaths.h"

#include <QtGlobal>

namespace brix {

bool IsPathSeparator(char c) {
#ifdef Q_OS_WIN
    return c == '/' || c == '\\' || c == ':';
#else
    return c == '/';
#endif
}

std::string WithSeparator(std::string folder) {
    if (folder.empty() || !IsPathSeparator(folder.back())) folder += '/';
    return folder;
}

void SplitExecutablePath(const std::string& executablePath, std::string& directory,
                         std::string& baseName) {
    std::size_t nameStart = 0;
    for (std::size_t i = 0; i < executablePath.size(); ++i) {
        if (IsPathSeparator(executablePath[i])) nameStart = i + 1;
    }
    directory = executablePath.substr(0, nameStart);
    const std::string fileName = executablePath.substr(nameStart);
    const std::size_t dot = fileName.rfind('.');
    baseName = dot == std::string::npos ? fileName : fileName.substr(0, dot);
}

}  // namespace brix
