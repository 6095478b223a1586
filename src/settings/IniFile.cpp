// The settings file is the only copy of the user's discount, so a write must
// never leave it half written: the new content goes to a temporary file in
// the same directory, is synced, and is renamed over the old one. Only the
// one line that holds the key changes; everything else is copied byte for
// byte, so hand-made comments, odd spacing and line endings survive.

#include "settings/IniFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <optional>
#include <string_view>

namespace dorvak {

namespace {

// Longer values are cut, as the profile routines of the original platform
// did with their fixed buffer.
constexpr std::size_t kMaxValueLength = 2047;

// A settings file is a few lines; anything far larger is not one, and
// reading it whole could exhaust memory.
constexpr off_t kMaxFileSize = 256 * 1024 * 1024;

std::string& TestDirectory() {
    static std::string directory;
    return directory;
}

std::string ExecutableDirectory() {
    std::string buffer(PATH_MAX, '\0');
    ssize_t n = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (n <= 0 || static_cast<std::size_t>(n) >= buffer.size()) return {};
    buffer.resize(static_cast<std::size_t>(n));
    auto slash = buffer.rfind('/');
    if (slash == std::string::npos) return {};
    return buffer.substr(0, slash == 0 ? 1 : slash);
}

std::string SettingsDirectory() {
    if (!TestDirectory().empty()) return TestDirectory();
    return ExecutableDirectory();
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    return s;
}

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
    }
    return true;
}

// Control bytes that never occur in a text file; finding one means the file
// is something else, and neither reading nor rewriting it makes sense.
bool LooksBinary(std::string_view content) {
    for (unsigned char c : content) {
        if (c < 0x20 && c != '\t' && c != '\n' && c != '\r' && c != '\f' && c != '\v' &&
            c != 0x1a) {
            return true;
        }
    }
    return false;
}

enum class FileState { Missing, Text, Unusable };

struct LoadedFile {
    FileState state = FileState::Unusable;
    std::string content;
    struct stat info {};
};

LoadedFile Load(const std::string& path) {
    LoadedFile file;
    // Non-blocking, so that a FIFO or device named like the file cannot
    // hang the window; such a thing is then refused as not a regular file.
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) {
        if (errno == ENOENT) file.state = FileState::Missing;
        return file;
    }
    if (::fstat(fd, &file.info) != 0 || !S_ISREG(file.info.st_mode) ||
        file.info.st_size > kMaxFileSize) {
        ::close(fd);
        return file;
    }
    file.content.resize(static_cast<std::size_t>(file.info.st_size));
    std::size_t done = 0;
    bool ok = true;
    while (true) {
        if (done == file.content.size()) file.content.resize(done + 4096);
        ssize_t n = ::read(fd, file.content.data() + done, file.content.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            ok = false;
            break;
        }
        if (n == 0) break;
        done += static_cast<std::size_t>(n);
        if (done > static_cast<std::size_t>(kMaxFileSize)) {
            ok = false;
            break;
        }
    }
    ::close(fd);
    file.content.resize(done);
    if (ok && !LooksBinary(file.content)) file.state = FileState::Text;
    return file;
}

// One line of the file: [begin, contentEnd) is its text without the line
// ending, [contentEnd, end) the ending itself ("\n", "\r\n" or nothing).
struct Line {
    std::size_t begin;
    std::size_t contentEnd;
    std::size_t end;
};

std::optional<Line> NextLine(std::string_view content, std::size_t pos) {
    if (pos >= content.size()) return std::nullopt;
    std::size_t lf = content.find('\n', pos);
    std::size_t end = lf == std::string_view::npos ? content.size() : lf + 1;
    std::size_t contentEnd = lf == std::string_view::npos ? content.size() : lf;
    if (contentEnd > pos && content[contentEnd - 1] == '\r') --contentEnd;
    return Line{pos, contentEnd, end};
}

// A section header "[name]"; a "[" without "]" is a broken header that
// opens a section no name can match, so keys below it are not misread as
// belonging to the section before.
std::optional<std::string_view> SectionName(std::string_view text) {
    text = Trim(text);
    if (text.empty() || text.front() != '[') return std::nullopt;
    std::size_t close = text.find(']');
    if (close == std::string_view::npos) return std::string_view{};
    return Trim(text.substr(1, close - 1));
}

struct KeyLocation {
    bool sectionFound = false;
    std::optional<Line> keyLine;
    std::size_t valueBegin = 0;  // offset just past the "="
    std::size_t sectionEnd = 0;  // end of the last non-blank line of the first matching section
};

// The first line, in file order, that holds Key in a section named Section;
// the same line serves reading and replacing, so a duplicated key reads back
// what was written.
KeyLocation Locate(std::string_view content, std::string_view section, std::string_view key) {
    KeyLocation where;
    bool inSection = false;
    bool inFirstSection = false;
    // Editors that save UTF-8 with a byte-order mark would otherwise hide
    // the first section header behind it.
    const std::size_t start = content.substr(0, 3) == "\xEF\xBB\xBF" ? 3 : 0;
    for (auto line = NextLine(content, start); line; line = NextLine(content, line->end)) {
        std::string_view text = content.substr(line->begin, line->contentEnd - line->begin);
        if (auto name = SectionName(text)) {
            inSection = !name->empty() && EqualsIgnoringCase(*name, section);
            inFirstSection = inSection && !where.sectionFound;
            if (inSection && !where.sectionFound) {
                where.sectionFound = true;
                where.sectionEnd = line->end;
            }
            continue;
        }
        if (inFirstSection && !Trim(text).empty()) where.sectionEnd = line->end;
        if (!inSection) continue;
        std::size_t eq = text.find('=');
        if (eq == std::string_view::npos) continue;
        if (!EqualsIgnoringCase(Trim(text.substr(0, eq)), key)) continue;
        where.keyLine = line;
        where.valueBegin = line->begin + eq + 1;
        return where;
    }
    return where;
}

bool HasLineBreakOrNul(std::string_view s) {
    return s.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

// Names that would not read back as the same name once written.
bool IsStorableName(std::string_view name, std::string_view forbidden) {
    if (Trim(name).empty() || Trim(name).size() != name.size()) return false;
    if (HasLineBreakOrNul(name)) return false;
    return name.find_first_of(forbidden) == std::string_view::npos;
}

std::string_view LineEndingOf(std::string_view content) {
    std::size_t lf = content.find('\n');
    if (lf == std::string_view::npos) return "\n";
    return (lf > 0 && content[lf - 1] == '\r') ? "\r\n" : "\n";
}

std::string NewContent(const std::string& content, const std::string& section,
                       const std::string& key, const std::string& value) {
    KeyLocation where = Locate(content, section, key);
    if (where.keyLine) {
        // Everything after the "=" goes, blanks included: the file then holds
        // the value exactly as given, while the key keeps its own spelling.
        std::string result = content.substr(0, where.valueBegin);
        result += value;
        result.append(content, where.keyLine->contentEnd, std::string::npos);
        return result;
    }
    std::string_view eol = LineEndingOf(content);
    std::string keyLine = key + "=" + value;
    keyLine += eol;
    if (where.sectionFound) {
        std::string result = content.substr(0, where.sectionEnd);
        // The section's last line may be the file's last, without an ending.
        if (!result.empty() && result.back() != '\n') result += eol;
        result += keyLine;
        result.append(content, where.sectionEnd, std::string::npos);
        return result;
    }
    std::string result = content;
    if (!result.empty() && result.back() != '\n') result += eol;
    result += "[" + section + "]";
    result += eol;
    result += keyLine;
    return result;
}

bool WriteAll(int fd, std::string_view data) {
    while (!data.empty()) {
        ssize_t n = ::write(fd, data.data(), data.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        data.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

// The file the name stands for: a symbolic link is written through, so the
// link itself survives the rename.
std::string WriteTarget(const std::string& path) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode)) {
        if (char* real = ::realpath(path.c_str(), nullptr)) {
            std::string target = real;
            std::free(real);
            return target;
        }
    }
    return path;
}

void ReplaceAtomically(const std::string& path, const std::string& shownPath,
                       const std::string& content, const LoadedFile& old) {
    auto slash = path.rfind('/');
    std::string directory =
        slash == std::string::npos ? "." : path.substr(0, slash == 0 ? 1 : slash);
    static std::atomic<unsigned> counter{0};
    std::string temp;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temp = path + ".tmp" + std::to_string(::getpid()) + "-" + std::to_string(counter++);
        // 0666 lets the umask decide a new file's mode, as for any new file.
        fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST) break;
    }
    if (fd < 0) throw IniWriteError(shownPath);
    bool ok = true;
    if (old.state == FileState::Text) {
        ok = ::fchmod(fd, old.info.st_mode & 07777) == 0;
        // Root editing a user's file must not take it away from the user.
        if (ok && (old.info.st_uid != ::geteuid() || old.info.st_gid != ::getegid())) {
            (void)!::fchown(fd, old.info.st_uid, old.info.st_gid);
        }
    }
    ok = ok && WriteAll(fd, content) && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    ok = ok && ::rename(temp.c_str(), path.c_str()) == 0;
    if (!ok) {
        ::unlink(temp.c_str());
        throw IniWriteError(shownPath);
    }
    // The rename itself must reach the disk, or a crash could bring back
    // the old file after the user was told the value is saved.
    int dirFd = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
}

}  // namespace

std::string SettingsFilePath(const std::string& FileName) {
    std::string directory = SettingsDirectory();
    if (directory.empty()) return FileName;
    if (directory.back() == '/') return directory + FileName;
    return directory + "/" + FileName;
}

void SetSettingsDirectoryForTesting(std::string directory) {
    TestDirectory() = std::move(directory);
}

std::string ReadIniValue(const std::string& Section, const std::string& Key,
                         const std::string& FileName) {
    try {
        if (SettingsDirectory().empty() || Section.empty() || Key.empty()) return {};
        LoadedFile file = Load(SettingsFilePath(FileName));
        if (file.state != FileState::Text) return {};
        KeyLocation where = Locate(file.content, Section, Key);
        if (!where.keyLine) return {};
        std::string_view value =
            Trim(std::string_view(file.content)
                     .substr(where.valueBegin, where.keyLine->contentEnd - where.valueBegin));
        // The profile routines drop one pair of matching quotes around a
        // value, so a file written for them reads the same here.
        if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
            value.back() == value.front()) {
            value = value.substr(1, value.size() - 2);
        }
        if (value.size() > kMaxValueLength) {
            std::size_t cut = kMaxValueLength;
            // Do not leave half of a UTF-8 character at the end.
            while (cut > 0 && (static_cast<unsigned char>(value[cut]) & 0xC0) == 0x80) --cut;
            value = value.substr(0, cut);
        }
        return std::string(value);
    } catch (...) {
        // Out of memory on a huge file is one more unreadable file.
        return {};
    }
}

void WriteIniValue(const std::string& Section, const std::string& Key, const std::string& Value,
                   const std::string& FileName) {
    const std::string path = SettingsFilePath(FileName);
    if (SettingsDirectory().empty() || !IsStorableName(Section, "[]") ||
        !IsStorableName(Key, "=[") || HasLineBreakOrNul(Value)) {
        throw IniWriteError(path);
    }
    try {
        const std::string target = WriteTarget(path);
        LoadedFile old = Load(target);
        if (old.state == FileState::Unusable) throw IniWriteError(path);
        // A file nobody may write is read-only on purpose, even for root.
        if (old.state == FileState::Text &&
            ((old.info.st_mode & 0222) == 0 || ::access(target.c_str(), W_OK) != 0)) {
            throw IniWriteError(path);
        }
        ReplaceAtomically(target, path, NewContent(old.content, Section, Key, Value), old);
    } catch (const IniWriteError&) {
        throw;
    } catch (...) {
        throw IniWriteError(path);
    }
}

}  // namespace dorvak
