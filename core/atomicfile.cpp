// SPDX-License-Identifier: MIT
// Whole-file replacement through a temporary file in the target's directory.
#include "core/atomicfile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>

namespace kz {

namespace {

std::string describe(const std::string& what, const std::filesystem::path& path, int err) {
    return what + " " + path.string() + ": " + std::strerror(err);
}

void fail(std::string* error, std::string text) {
    if (error != nullptr) *error = std::move(text);
}

// Pid and a per-process counter keep concurrent writers apart; O_EXCL catches what is left
// (a stale temporary of an earlier run with the same pid).
std::filesystem::path temporaryName(const std::filesystem::path& target, int attempt) {
    static std::atomic<unsigned> counter{0};
    const unsigned serial = counter.fetch_add(1);
    std::string name = "." + target.filename().string() + ".tmp" + std::to_string(::getpid()) +
                       "-" + std::to_string(serial) + "-" + std::to_string(attempt);
    return target.parent_path() / name;
}

bool writeAll(int fd, std::string_view content) {
    while (!content.empty()) {
        const ssize_t n = ::write(fd, content.data(), content.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        content.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

}  // namespace

bool WriteFileAtomically(const std::filesystem::path& target, std::string_view content,
                         std::string* error) {
    if (target.empty() || !target.has_filename()) {
        fail(error, "no file name given");
        return false;
    }
    // A bare file name lives in the current directory; the temporary must sit beside it so
    // that the rename stays on one file system.
    std::filesystem::path dir =
        target.has_parent_path() ? target.parent_path() : std::filesystem::path(".");
    std::filesystem::path full = dir / target.filename();

    // Renaming over a symbolic link would replace the link and leave the file it names
    // unchanged; write to that file instead.
    std::error_code ec;
    if (std::filesystem::is_symlink(full, ec)) {
        std::filesystem::path resolved = std::filesystem::weakly_canonical(full, ec);
        if (!ec && resolved.has_filename()) {
            full = std::move(resolved);
            dir = full.parent_path();
        }
    }

    // A file the user may not write is kept, as an ordinary overwrite would keep it; the
    // rename alone needs only the directory to be writable.
    if (::access(full.c_str(), F_OK) == 0 && ::access(full.c_str(), W_OK) != 0) {
        fail(error, describe("cannot write", full, errno));
        return false;
    }

    std::filesystem::path temp;
    int fd = -1;
    for (int attempt = 0; attempt < 16 && fd < 0; ++attempt) {
        temp = temporaryName(full, attempt);
        // 0666 lets the umask decide, as for any file the user creates.
        fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST) break;
    }
    if (fd < 0) {
        fail(error, describe("cannot create a temporary file for", full, errno));
        return false;
    }

    // Keep the permissions of the file being replaced.
    struct stat old {};
    if (::stat(full.c_str(), &old) == 0 && S_ISREG(old.st_mode)) {
        (void)::fchmod(fd, old.st_mode & 07777);
    }

    const auto abandon = [&](const std::string& what) {
        const int err = errno;
        if (fd >= 0) ::close(fd);
        ::unlink(temp.c_str());
        fail(error, describe(what, full, err));
        return false;
    };

    if (!writeAll(fd, content)) return abandon("cannot write");
    if (::fsync(fd) != 0) return abandon("cannot flush");
    const int closed = ::close(fd);
    fd = -1;
    if (closed != 0) return abandon("cannot close");
    if (::rename(temp.c_str(), full.c_str()) != 0) return abandon("cannot replace");

    // Make the rename itself durable; the data are already safe, so a failure here is not
    // worth reporting.
    const int dirFd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        (void)::fsync(dirFd);
        ::close(dirFd);
    }
    return true;
}

}  // namespace kz
