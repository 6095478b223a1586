// Reading and writing single values of an INI file that lies beside the
// running executable. Each call opens and releases the file itself; nothing
// is cached between calls, so another process's edits are always seen.
#pragma once

#include <string>

#include "settings/IniWriteError.h"

namespace dorvak {

// Returns the value of Key in Section of the file FileName in the settings
// directory. Section and key names match without regard to ASCII case; the
// value is the text after the first "=" of the first matching line, without
// surrounding blanks and without one pair of matching quotes around it, and
// at most 2047 characters (bytes) of it. Never
// throws: a missing or unreadable file, section or key gives "".
std::string ReadIniValue(const std::string& Section, const std::string& Key,
                         const std::string& FileName);

// Stores Value under Key in Section of the file FileName in the settings
// directory, creating the file, the section or the key where missing. An
// existing key (the first one, if it is duplicated) has its value replaced
// in place; every other byte of the file stays as it was. The file is
// replaced atomically, so a crash leaves either the old or the new content.
// Throws IniWriteError ("Unable to write to <path>") when the file cannot be
// written or Value, Section or Key could not be stored faithfully (a line
// break in any of them, or a name that would not read back); the file then
// keeps its previous content byte for byte.
void WriteIniValue(const std::string& Section, const std::string& Key, const std::string& Value,
                   const std::string& FileName);

// The full path ReadIniValue and WriteIniValue use for FileName.
std::string SettingsFilePath(const std::string& FileName);

// Makes the settings directory `directory` instead of the executable's
// directory, so tests never touch the files beside the test binary. An empty
// text restores the executable's directory. Not thread-safe; call it only
// while no settings access is running.
void SetSettingsDirectoryForTesting(std::string directory);

}  // namespace dorvak
