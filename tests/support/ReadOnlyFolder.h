#pragma once

#include <string>

namespace brix::test {

// Closes a folder to new files for as long as it lives, while the files already in it stay
// writable: by permission bits where they are checked, else (as root) by the immutable flag.
// Closed() is false when neither works on this file system; tests then skip.
class ReadOnlyFolder {
public:
    explicit ReadOnlyFolder(std::string folder);
    ~ReadOnlyFolder();
    ReadOnlyFolder(const ReadOnlyFolder&) = delete;
    ReadOnlyFolder& operator=(const ReadOnlyFolder&) = delete;

    bool Closed() const { return closed_; }

private:
    bool CanCreateFile() const;

    std::string folder_;
    bool closed_ = false;
    bool immutable_ = false;
};

}  // namespace brix::test
