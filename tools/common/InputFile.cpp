#include "InputFile.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <sys/stat.h>

bool ReadInputFile(const std::string& path, uint64_t maxBytes, std::vector<uint8_t>& bytes, std::string& error)
{
    bytes.clear();
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"), std::fclose);
    if (!file) {
        error = std::strerror(errno);
        return false;
    }
    struct stat info {};
    if (fstat(fileno(file.get()), &info) == 0 && S_ISDIR(info.st_mode)) {
        error = "is a folder, not a file";
        return false;
    }
    // One byte more than allowed tells an oversized input from one of exactly the limit.
    uint8_t chunk[65536];
    while (bytes.size() <= maxBytes) {
        const size_t want = std::min<uint64_t>(sizeof chunk, maxBytes + 1 - bytes.size());
        const size_t got = std::fread(chunk, 1, want, file.get());
        bytes.insert(bytes.end(), chunk, chunk + got);
        if (got < want)
            break;
    }
    if (std::ferror(file.get())) {
        error = std::strerror(errno);
        bytes.clear();
        return false;
    }
    if (bytes.size() > maxBytes) {
        error = "is larger than " + std::to_string(maxBytes >> 20) + " MiB, too large for a module";
        bytes.clear();
        return false;
    }
    return true;
}

bool IsSameFile(const std::string& a, const std::string& b)
{
    struct stat first {
    }, second{};
    return stat(a.c_str(), &first) == 0 && stat(b.c_str(), &second) == 0 && first.st_dev == second.st_dev &&
           first.st_ino == second.st_ino;
}
