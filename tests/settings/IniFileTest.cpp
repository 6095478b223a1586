#include "settings/IniFile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace dorvak {
namespace {

class IniFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "dorvak-ini-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
        SetSettingsDirectoryForTesting(dir_.string());
    }
    void TearDown() override {
        SetSettingsDirectoryForTesting("");
        fs::permissions(dir_, fs::perms::owner_all, fs::perm_options::add);
        fs::remove_all(dir_);
    }

    fs::path file() const { return dir_ / "Set.ini"; }

    void writeFile(const std::string& content) const {
        std::ofstream out(file(), std::ios::binary | std::ios::trunc);
        out << content;
    }

    std::string readFile() const {
        std::ifstream in(file(), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }

    std::vector<std::string> entries() const {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(dir_)) names.push_back(e.path().filename());
        return names;
    }

    // Asserts that the write is refused with the path in the message and
    // leaves the file as it was.
    void expectRefused(const std::string& section, const std::string& key, const std::string& value,
                       const std::string& before) const {
        try {
            WriteIniValue(section, key, value, "Set.ini");
            ADD_FAILURE() << "write of " << key << " was not refused";
        } catch (const IniWriteError& e) {
            EXPECT_EQ(std::string(e.what()), "Unable to write to " + file().string());
        }
        if (fs::is_regular_file(file())) {
            EXPECT_EQ(readFile(), before);
        }
    }

    fs::path dir_;
};

struct ReadCase {
    const char* what;
    std::string content;
    const char* section;
    const char* key;
    const char* expected;
};

TEST_F(IniFileTest, ReadsValuesLikeTheProfileRoutines) {
    const std::vector<ReadCase> cases = {
        {"plain", "[Postavke]\nRabat=12,5\n", "Postavke", "Rabat", "12,5"},
        {"names are case-blind", "[POSTAVKE]\nrAbAt=7\n", "postavke", "RABAT", "7"},
        {"text after the first equals", "[Postavke]\nwww=http://x/?a=b\n", "Postavke", "www",
         "http://x/?a=b"},
        {"blanks around names and value", "  [ Postavke ]  \n  Rabat \t=  12,5 \t\n", "Postavke",
         "Rabat", "12,5"},
        {"one pair of matching quotes dropped", "[Postavke]\nwww=\"http://x\"\nA='5'\n", "Postavke",
         "www", "http://x"},
        {"unmatched quotes kept", "[Postavke]\nwww=\"http://x'\n", "Postavke", "www",
         "\"http://x'"},
        {"CRLF endings", "[Postavke]\r\nPDV=25\r\n", "Postavke", "PDV", "25"},
        {"no final newline", "[Postavke]\nPDV=25", "Postavke", "PDV", "25"},
        {"empty value", "[Postavke]\nRabat=\n", "Postavke", "Rabat", ""},
        {"missing key", "[Postavke]\nPDV=25\n", "Postavke", "Rabat", ""},
        {"key in another section", "[Drugo]\nRabat=5\n[Postavke]\n", "Postavke", "Rabat", ""},
        {"key before any section", "Rabat=5\n[Postavke]\n", "Postavke", "Rabat", ""},
        {"first duplicate wins", "[Postavke]\nRabat=1\nRabat=2\n[postavke]\nRabat=3\n", "Postavke",
         "Rabat", "1"},
        {"repeated section is searched", "[Postavke]\nPDV=1\n[X]\n[Postavke]\nRabat=3\n",
         "Postavke", "Rabat", "3"},
        {"comment is not a key", "[Postavke]\n;Rabat=5\n", "Postavke", "Rabat", ""},
        {"line without equals", "[Postavke]\nRabat\n", "Postavke", "Rabat", ""},
        {"header without bracket ends the section", "[Postavke]\nPDV=1\n[Drugo\nRabat=5\n",
         "Postavke", "Rabat", ""},
        {"header without bracket matches nothing", "[Postavke\nRabat=5\n", "Postavke", "Rabat", ""},
        {"binary file", std::string("[Postavke]\nRabat=5\n\0\x01\x02", 22), "Postavke", "Rabat",
         ""},
        {"UTF-8 byte-order mark", "\xEF\xBB\xBF[Postavke]\nRabat=4\n", "Postavke", "Rabat", "4"},
        {"Windows-1250 text is still text", "[Postavke]\nwww=\x9a\xe8\xe6\n", "Postavke", "www",
         "\x9a\xe8\xe6"},
    };
    for (const auto& c : cases) {
        writeFile(c.content);
        EXPECT_EQ(ReadIniValue(c.section, c.key, "Set.ini"), c.expected) << c.what;
    }
}

TEST_F(IniFileTest, ReadsEmptyTextWhenTheFileCannotBeRead) {
    EXPECT_EQ(ReadIniValue("Postavke", "Rabat", "Set.ini"), "");
    fs::create_directory(file());
    EXPECT_EQ(ReadIniValue("Postavke", "Rabat", "Set.ini"), "");
}

TEST_F(IniFileTest, AFifoNamedLikeTheFileNeitherHangsNorIsReplaced) {
    ASSERT_EQ(::mkfifo(file().c_str(), 0644), 0);
    EXPECT_EQ(ReadIniValue("Postavke", "Rabat", "Set.ini"), "");
    expectRefused("Postavke", "Rabat", "1", "");
    EXPECT_TRUE(fs::is_fifo(file()));
}

TEST_F(IniFileTest, CutsLongValuesAndSurvivesHugeLines) {
    const std::string huge(10 * 1024 * 1024, 'x');
    writeFile("[Postavke]\nJunk=" + huge + "\nRabat=" + huge + "\nPDV=25\n");
    EXPECT_EQ(ReadIniValue("Postavke", "Rabat", "Set.ini"), std::string(2047, 'x'));
    EXPECT_EQ(ReadIniValue("Postavke", "PDV", "Set.ini"), "25");

    // A cut never leaves half of a two-byte character behind.
    writeFile("[Postavke]\nwww=" + std::string(2046, 'a') + "\xc5\xa1" + "\n");
    EXPECT_EQ(ReadIniValue("Postavke", "www", "Set.ini"), std::string(2046, 'a'));
}

TEST_F(IniFileTest, LooksBesideTheExecutableNotInTheWorkingDirectory) {
    SetSettingsDirectoryForTesting("");
    const fs::path exe = fs::read_symlink("/proc/self/exe");
    const fs::path before = fs::current_path();
    fs::current_path(dir_);
    EXPECT_EQ(SettingsFilePath("Set.ini"), (exe.parent_path() / "Set.ini").string());
    fs::current_path(before);
}

TEST_F(IniFileTest, CreatesFileSectionAndKeyOnFirstWrite) {
    WriteIniValue("Postavke", "Rabat", "12,5", "Set.ini");
    EXPECT_EQ(readFile(), "[Postavke]\nRabat=12,5\n");
    EXPECT_EQ(ReadIniValue("Postavke", "Rabat", "Set.ini"), "12,5");

    // Blanks typed around the value are stored; reading ignores them.
    WriteIniValue("Postavke", "Rabat", " 12,5 ", "Set.ini");
    EXPECT_EQ(readFile(), "[Postavke]\nRabat= 12,5 \n");
    EXPECT_EQ(ReadIniValue("Postavke", "Rabat", "Set.ini"), "12,5");
}

struct WriteCase {
    const char* what;
    std::string before;
    const char* section;
    const char* key;
    const char* value;
    std::string after;
};

TEST_F(IniFileTest, WritesChangeOnlyTheOneValue) {
    const std::vector<WriteCase> cases = {
        {"replace keeps comments, order, CRLF and the missing final newline",
         "; Dorvak\r\n[Drugo]\r\nRabat=9\r\n\r\n[Postavke]\r\nwww=x\r\n  rabat =  5 \r\nPDV=25",
         "Postavke", "Rabat", "12,5",
         "; Dorvak\r\n[Drugo]\r\nRabat=9\r\n\r\n[Postavke]\r\nwww=x\r\n  rabat =12,5\r\nPDV=25"},
        {"first duplicate is the one replaced", "[Postavke]\nRabat=1\nRabat=2\n", "Postavke",
         "Rabat", "3", "[Postavke]\nRabat=3\nRabat=2\n"},
        {"new key goes to the end of its section, before blank lines",
         "[Postavke]\r\nwww=x\r\n\r\n[Drugo]\r\nA=1\r\n", "Postavke", "Rabat", "5",
         "[Postavke]\r\nwww=x\r\nRabat=5\r\n\r\n[Drugo]\r\nA=1\r\n"},
        {"new key after a last line without newline", "[Postavke]\nwww=x", "Postavke", "Rabat", "5",
         "[Postavke]\nwww=x\nRabat=5\n"},
        {"new section appended with the file's line ending", "[Drugo]\r\nA=1", "Postavke", "Rabat",
         "5", "[Drugo]\r\nA=1\r\n[Postavke]\r\nRabat=5\r\n"},
        {"byte-order mark kept", "\xEF\xBB\xBF[Postavke]\nRabat=4\n", "Postavke", "Rabat", "5",
         "\xEF\xBB\xBF[Postavke]\nRabat=5\n"},
        {"empty value", "[Postavke]\nRabat=5\n", "Postavke", "Rabat", "", "[Postavke]\nRabat=\n"},
    };
    for (const auto& c : cases) {
        writeFile(c.before);
        WriteIniValue(c.section, c.key, c.value, "Set.ini");
        EXPECT_EQ(readFile(), c.after) << c.what;
        EXPECT_EQ(entries(), std::vector<std::string>{"Set.ini"}) << c.what;
    }
}

// Random small files in every shape the tables above use: each write must
// read back as written and leave every other value as it read before.
TEST_F(IniFileTest, AWriteChangesNoOtherValue) {
    // Hundreds of synced writes: on tmpfs they cost nothing.
    if (fs::is_directory("/dev/shm")) {
        std::string pattern = "/dev/shm/dorvak-ini-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        fs::remove_all(dir_);
        dir_ = pattern;
        SetSettingsDirectoryForTesting(dir_.string());
    }
    const std::vector<std::string> sections = {"Postavke", "postavke", "Drugo"};
    const std::vector<std::string> keys = {"Rabat", "RABAT", "PDV", "www"};
    const std::vector<std::string> junk = {"; komentar",     "",   "  ", "[Slomljeno",
                                           "bez jednakosti", "=5", "[]"};
    std::mt19937 random(20261211);
    auto pick = [&](const std::vector<std::string>& from) { return from[random() % from.size()]; };
    for (int round = 0; round < 300; ++round) {
        const std::string eol = random() % 2 ? "\r\n" : "\n";
        std::string content = random() % 5 == 0 ? "\xEF\xBB\xBF" : "";
        const int lines = static_cast<int>(random() % 12);
        for (int i = 0; i < lines; ++i) {
            switch (random() % 4) {
                case 0:
                    content += '[';
                    content += pick(sections);
                    content += ']';
                    break;
                case 1:
                    content += pick(junk);
                    break;
                default:
                    content +=
                        pick(keys) + (random() % 2 ? " = " : "=") + std::to_string(random() % 100);
            }
            if (i + 1 < lines || random() % 2) content += eol;
        }
        writeFile(content);
        auto readAll = [&] {
            std::vector<std::string> values;
            for (const char* section : {"Postavke", "Drugo"}) {
                for (const char* key : {"Rabat", "PDV", "www"}) {
                    values.push_back(ReadIniValue(section, key, "Set.ini"));
                }
            }
            return values;
        };
        std::vector<std::string> expected = readAll();
        const int s = static_cast<int>(random() % 2);
        const int k = static_cast<int>(random() % 3);
        std::string tag = "v";
        tag += std::to_string(round);
        const std::string value = random() % 4 == 0 ? std::string() : ' ' + tag + ' ';
        WriteIniValue(s == 0 ? "POSTAVKE" : "Drugo",
                      k == 0   ? "rabat"
                      : k == 1 ? "PDV"
                               : "WWW",
                      value, "Set.ini");
        expected[static_cast<std::size_t>(s * 3 + k)] = value.empty() ? "" : tag;
        ASSERT_EQ(readAll(), expected) << "file was:\n" << content;
    }
}

TEST_F(IniFileTest, ReplacesAValueAfterAHugeLine) {
    const std::string huge(10 * 1024 * 1024, 'x');
    writeFile("[Postavke]\nJunk=" + huge + "\nRabat=1\n");
    WriteIniValue("Postavke", "Rabat", "2", "Set.ini");
    EXPECT_EQ(readFile(), "[Postavke]\nJunk=" + huge + "\nRabat=2\n");
}

TEST_F(IniFileTest, KeepsTheFilesPermissions) {
    writeFile("[Postavke]\nRabat=1\n");
    fs::permissions(file(), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    WriteIniValue("Postavke", "Rabat", "2", "Set.ini");
    EXPECT_EQ(fs::status(file()).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST_F(IniFileTest, WritesThroughASymbolicLink) {
    fs::create_directory(dir_ / "real");
    {
        std::ofstream out(dir_ / "real" / "Set.ini", std::ios::binary);
        out << "[Postavke]\nRabat=1\n";
    }
    fs::create_symlink(dir_ / "real" / "Set.ini", file());
    WriteIniValue("Postavke", "Rabat", "2", "Set.ini");
    EXPECT_TRUE(fs::is_symlink(file()));
    EXPECT_EQ(readFile(), "[Postavke]\nRabat=2\n");
}

TEST_F(IniFileTest, RefusedWritesRaiseAndLeaveTheFileAsItWas) {
    const std::string before = "[Postavke]\r\nRabat=1\r\n";
    writeFile(before);
    // Text that would not read back as written is refused, not mangled.
    expectRefused("Postavke", "Rabat", "1\r\nPDV=99", before);
    expectRefused("Postavke", "Ra=bat", "1", before);
    expectRefused("Post]avke", "Rabat", "1", before);
    expectRefused("", "Rabat", "1", before);
    expectRefused("Postavke", "", "1", before);

    // Read-only is honoured even when running as root.
    fs::permissions(file(), fs::perms::owner_read | fs::perms::group_read);
    expectRefused("Postavke", "Rabat", "2", before);
    fs::permissions(file(), fs::perms::owner_read | fs::perms::owner_write);

    const std::string binary("[Postavke]\nRabat=1\n\0\0", 21);
    writeFile(binary);
    expectRefused("Postavke", "Rabat", "2", binary);
    EXPECT_EQ(entries(), std::vector<std::string>{"Set.ini"});
}

TEST_F(IniFileTest, RefusesWhenThePathIsNoFileOrTheDirectoryIsMissing) {
    fs::create_directory(file());
    expectRefused("Postavke", "Rabat", "1", "");
    EXPECT_TRUE(fs::is_directory(file()));

    SetSettingsDirectoryForTesting((dir_ / "missing").string());
    try {
        WriteIniValue("Postavke", "Rabat", "1", "Set.ini");
        ADD_FAILURE() << "write into a missing directory was not refused";
    } catch (const IniWriteError& e) {
        EXPECT_EQ(std::string(e.what()),
                  "Unable to write to " + (dir_ / "missing/Set.ini").string());
    }
}

TEST_F(IniFileTest, RefusesInAReadOnlyDirectory) {
    if (::geteuid() == 0) GTEST_SKIP() << "root writes into read-only directories";
    const std::string before = "[Postavke]\nRabat=1\n";
    writeFile(before);
    fs::permissions(dir_, fs::perms::owner_read | fs::perms::owner_exec);
    expectRefused("Postavke", "Rabat", "2", before);
}

}  // namespace
}  // namespace dorvak
