// SPDX-License-Identifier: MIT
// Whole-file replacement through a temporary file in the target's directory.
#include "core/atomicfile.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <string>

namespace kz {

namespace {

std::string describe(const std::string& what, const std::filesystem::path& path, int err) {
    return what + " " + path.string() + ": " + std::strerror(err);
}

void fail(std::string* error, std::string text) {
    if (error != nullptr) *error = std::move(text);
}

// Temporary files are named ".kz-<pid>-<serial>.tmp": short, so that a target whose name is
// near the file system's limit can still be saved, and carrying the writer's pid, so that a
// later save can tell one left by a killed writer from one still being written.
constexpr std::string_view kTempPrefix = ".kz-";
constexpr std::string_view kTempSuffix = ".tmp";

std::filesystem::path temporaryName(const std::filesystem::path& dir) {
    static std::atomic<unsigned> counter{0};
    return dir / (std::string(kTempPrefix) + std::to_string(::getpid()) + "-" +
                  std::to_string(counter.fetch_add(1)) + std::string(kTempSuffix));
}

bool allDigits(std::string_view s) {
    if (s.empty()) return false;
    for (char c : s) {
        if (c < '0' || c > '9') return false;
    }
    return true;
}

// "<pid>-<serial>" -> pid; anything else -> 0.
pid_t pidAndSerial(std::string_view s) {
    const std::size_t dash = s.find('-');
    if (dash == std::string_view::npos || dash > 9 || !allDigits(s.substr(0, dash)) ||
        !allDigits(s.substr(dash + 1))) {
        return 0;
    }
    return static_cast<pid_t>(std::stol(std::string(s.substr(0, dash))));
}

bool cut(std::string_view& s, std::string_view prefix, std::string_view suffix) {
    if (s.size() <= prefix.size() + suffix.size() || s.substr(0, prefix.size()) != prefix ||
        s.substr(s.size() - suffix.size()) != suffix) {
        return false;
    }
    s = s.substr(prefix.size(), s.size() - prefix.size() - suffix.size());
    return true;
}

// The writer's pid when `name` is a temporary file of ours, else 0. Earlier versions named
// them "." + target + ".tmp<pid>-<serial>-<attempt>"; those of `target` are recognised too.
pid_t temporaryWriter(std::string_view name, const std::string& target) {
    if (cut(name, kTempPrefix, kTempSuffix)) return pidAndSerial(name);
    if (!cut(name, "." + target + ".tmp", "")) return 0;
    const std::size_t last = name.rfind('-');
    if (last == std::string_view::npos || !allDigits(name.substr(last + 1))) return 0;
    return pidAndSerial(name.substr(0, last));
}

// A save killed between creating its temporary file and the rename leaves that file behind;
// remove such files of ours whose writer no longer runs. A file of another user, or one whose
// pid is alive (even if reused by another program), is left alone.
void removeStaleTemporaries(const std::filesystem::path& dir, const std::string& target) {
    std::error_code ec;
    std::filesystem::directory_iterator it(dir, ec);
    for (; !ec && it != std::filesystem::directory_iterator(); it.increment(ec)) {
        const std::string name = it->path().filename().string();
        const pid_t writer = temporaryWriter(name, target);
        if (writer <= 0 || writer == ::getpid()) continue;
        struct stat st {};
        if (::lstat(it->path().c_str(), &st) != 0 || !S_ISREG(st.st_mode) ||
            st.st_uid != ::geteuid()) {
            continue;
        }
        if (::kill(writer, 0) == 0 || errno != ESRCH) continue;
        ::unlink(it->path().c_str());
    }
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

    removeStaleTemporaries(dir, full.filename().string());

    std::filesystem::path temp;
    int fd = -1;
    // O_EXCL catches a name still taken by an earlier run that had the same pid.
    for (int attempt = 0; attempt < 16 && fd < 0; ++attempt) {
        temp = temporaryName(dir);
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
