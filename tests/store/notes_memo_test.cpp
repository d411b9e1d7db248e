#include "store/notes_memo.h"

#include <gtest/gtest.h>

#include "support/faults.h"
#include "support/temp_folder.h"

namespace pairly::store {
namespace {

using pairly::testing::InjectFaults;
using pairly::testing::TempFolder;
using Op = fileops::Op;

TEST(NotesMemo, FileLinesBecomeTheTextWithoutTheLastLineEnd) {
    const struct {
        const char* file;
        const char* text;
    } cases[] = {
        {"", ""},
        {"\r\n", ""},
        {"a", "a"},
        {"a\r\n", "a"},
        {"a\r\n\r\n", "a\n"},                    // an empty last line
        {"\r\n\r\na\r\n\r\n\r\n", "\n\na\n\n"},  // empty lines around the text
        {"a\r\n\r\nb\r\n", "a\n\nb"},
        {"a\nb\n", "a\nb"},  // lone LF
        {"a\rb\r", "a\nb"},  // lone CR
        {"a\r\r\nb", "a\n\nb"},
    };
    for (const auto& c : cases) EXPECT_EQ(memoFromFileText(c.file), c.text) << c.file;
}

TEST(NotesMemo, SavedTextReadsBackAsTyped) {
    TempFolder folder;
    const struct {
        const char* text;
        std::string bytes;
    } cases[] = {
        {"", "\r\n"},
        {"a", "a\r\n"},
        {"a\n", "a\r\n\r\n"},
        {"\n\nx\n\n", "\r\n\r\nx\r\n\r\n\r\n"},
        {"夜\n\"甘い物\", 控える",
         "\x96\xe9\r\n\"\x8a\xc3\x82\xa2\x95\xa8\", \x8d\x54\x82\xa6\x82\xe9\r\n"},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(saveMemo(folder.path(), c.text)) << c.text;
        EXPECT_EQ(folder.readBytes("気付きメモ.txt"), c.bytes) << c.text;
        const MemoText memo = loadMemo(folder.path());
        EXPECT_EQ(memo.status, ReadStatus::Ok);
        EXPECT_EQ(memo.text, c.text);
    }
    EXPECT_EQ(folder.fileNames(), std::vector<std::string>{"気付きメモ.txt"});
}

TEST(NotesMemo, NameIsMatchedWithoutCaseAndAMissingFileIsEmpty) {
    TempFolder folder;
    const MemoText missing = loadMemo(folder.path());
    EXPECT_EQ(missing.status, ReadStatus::Missing);
    EXPECT_EQ(missing.text, "");
    folder.writeCp932("気付きメモ.TXT", "メモ\r\n");
    EXPECT_EQ(loadMemo(folder.path()).text, "メモ");
    ASSERT_TRUE(saveMemo(folder.path(), "新しいメモ"));
    EXPECT_EQ(folder.fileNames(), std::vector<std::string>{"気付きメモ.TXT"});
    EXPECT_EQ(folder.readCp932("気付きメモ.TXT"), "新しいメモ\r\n");
}

TEST(NotesMemo, CharacterWithoutCp932FormIsNamedAndRefused) {
    EXPECT_EQ(firstCharWithoutCp932Form("ダイエット①～"), std::nullopt);
    EXPECT_EQ(firstCharWithoutCp932Form("a𠮷b😀"), "𠮷");
    EXPECT_EQ(firstCharWithoutCp932Form("ok 😀"), "😀");
    EXPECT_EQ(firstCharWithoutCp932Form("x\uF781A"), "\uF781");  // would read back as 、
    EXPECT_EQ(firstCharWithoutCp932Form("x\uF781\r\n"), std::nullopt);
    TempFolder folder;
    folder.writeCp932("気付きメモ.txt", "元のメモ\r\n");
    EXPECT_FALSE(saveMemo(folder.path(), "ケーキ🍰"));
    EXPECT_EQ(folder.readCp932("気付きメモ.txt"), "元のメモ\r\n");
}

TEST(NotesMemo, EveryFailingStepLeavesTheOldOrTheNewMemo) {
    TempFolder folder;
    const std::string before = "元のメモ\r\n\r\n";
    const std::string after = "新しいメモ\r\n";
    folder.writeCp932("気付きメモ.txt", before);
    long steps = 0;
    {
        auto count = InjectFaults::from(1000000);
        ASSERT_TRUE(saveMemo(folder.path(), "新しいメモ"));
        steps = count.seen();
    }
    ASSERT_GT(steps, 3);
    int failures = 0;
    for (long n = 1; n <= steps; ++n) {
        folder.writeCp932("気付きメモ.txt", before);
        bool saved;
        {
            auto fail = InjectFaults::once(n);
            saved = saveMemo(folder.path(), "新しいメモ");
        }
        failures += saved ? 0 : 1;
        EXPECT_EQ(folder.readCp932("気付きメモ.txt"), saved ? after : before) << "step " << n;
        EXPECT_EQ(folder.fileNames(), std::vector<std::string>{"気付きメモ.txt"}) << "step " << n;
    }
    EXPECT_GE(failures, 4);  // open, write, fsync, close, rename of the temporary file
    auto fail = InjectFaults::always({Op::Read});
    EXPECT_TRUE(loadMemo(folder.path()).failed());
}

}  // namespace
}  // namespace pairly::store
