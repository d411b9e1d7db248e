#include "core/phone/secrets.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <set>

#include "core/phone/autostart.h"
#include "support/temp_folder.h"

namespace pairly::phone {
namespace {

namespace fs = std::filesystem;

unsigned modeOf(const fs::path& p) {
    struct stat st {};
    ::stat(p.c_str(), &st);
    return st.st_mode & 0777;
}

TEST(PhoneSecrets, RandomAndComparedWhole) {
    std::set<std::string> seen;
    for (int i = 0; i < 64; ++i) {
        const std::string s = *newSecret();
        EXPECT_TRUE(isSecret(s)) << s;
        EXPECT_TRUE(seen.insert(s).second) << s;
    }
    const struct {
        const char* a;
        const char* b;
        bool equal;
    } cases[] = {{"abc", "abc", true}, {"abc", "abd", false}, {"abc", "ab", false},
                 {"", "", true},       {"", "a", false},      {"abc", "abc\0", true}};
    for (const auto& c : cases) EXPECT_EQ(constantTimeEquals(c.a, c.b), c.equal) << c.a << c.b;
    for (const char* bad : {"", "short", "Partner2Secret_abcdef!", "Partner2Secret_abcdefgh"})
        EXPECT_FALSE(isSecret(bad)) << bad;
}

TEST(PhoneSecrets, KeptPrivatelyPerDataFolder) {
    EXPECT_EQ(configFolder("/x", "/h"), fs::path("/x/pairlylog"));
    EXPECT_EQ(configFolder("relative", "/h"), fs::path("/h/.config/pairlylog"));
    EXPECT_EQ(configFolder(nullptr, nullptr), fs::path());
    EXPECT_EQ(autostartFolder(nullptr, "/h"), fs::path("/h/.config/autostart"));
    // The name the phone tests compute as well.
    EXPECT_EQ(settingsFileStem("/tmp/phone/データ Demo1"), "Demo1-24ae2774a13db826");

    testing::TempFolder config;
    const fs::path folderA = "/home/a/PairlyLog", folderB = "/home/a/Other";
    const fs::path file = settingsFile(config.path(), folderA);
    EXPECT_EQ(loadSettings(file, folderA).settings, PhoneSettings{});  // none yet
    PhoneSettings s;
    s.enabled = true;
    s.port = 9000;
    s.tray = true;
    ASSERT_TRUE(ensureSecrets(s));
    ASSERT_TRUE(saveSettings(file, s, folderA));
    EXPECT_EQ(modeOf(file), 0600u);
    EXPECT_EQ(modeOf(file.parent_path()), 0700u);
    EXPECT_EQ(loadSettings(file, folderA).settings, s);
    // Another folder's file gives nothing of its own.
    EXPECT_EQ(loadSettings(file, folderB).settings, PhoneSettings{});
    const std::string old = s.secrets[1];
    ASSERT_TRUE(renewSecret(s, 2));
    EXPECT_NE(s.secrets[1], old);
    // A file others can read: its secrets are not trusted.
    ::chmod(file.c_str(), 0644);
    const LoadedSettings exposed = loadSettings(file, folderA);
    EXPECT_TRUE(exposed.exposed);
    EXPECT_EQ(exposed.settings.secrets, (std::array<std::string, 2>{}));
    EXPECT_EQ(exposed.settings.port, 9000);
}

TEST(PhoneSecrets, TypedPort) {
    const std::pair<const char*, int> ports[] = {
        {"8765", 8765}, {" ８７６５ ", 8765}, {"1024", 1024}, {"65535", 65535}};
    for (const auto& [text, port] : ports) EXPECT_EQ(typedPort(text), port) << text;
    for (const char* text : {"1023", "65536", "8765.5", "87a", "", "-8765"})
        EXPECT_FALSE(typedPort(text)) << text;
}

TEST(PhoneSecrets, AutostartEntryQuotesPaths) {
    const auto entry = autostartEntry("/opt/pairly log/pairlylog", "/home/a/50% \"diet\"$\\x");
    ASSERT_TRUE(entry);
    EXPECT_NE(entry->find("\nExec=\"/opt/pairly log/pairlylog\" "
                          "\"/home/a/50%% \\\\\"diet\\\\\"\\\\$\\\\\\\\x\"\n"),
              std::string::npos)
        << *entry;
    EXPECT_FALSE(autostartEntry("/usr/bin/pairlylog", "/home/a/line\nbreak"));
}

}  // namespace
}  // namespace pairly::phone
