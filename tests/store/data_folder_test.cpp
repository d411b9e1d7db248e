#include "store/data_folder.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>

#include "store/codec.h"
#include "support/faults.h"
#include "support/temp_folder.h"

namespace pairly::store {
namespace {

using pairly::testing::TempFolder;

using pairly::testing::InjectFaults;
using Op = fileops::Op;

TEST(ResolveFile, IgnoresTheCaseOfLatinLetters) {
    TempFolder folder;
    folder.writeBytes("データ1.TXT", "x");
    folder.writeBytes("Memo.Txt", "y");
    EXPECT_EQ(resolveFile(folder.path(), "データ1.txt").filename(), "データ1.TXT");
    EXPECT_EQ(resolveFile(folder.path(), "データ1.TXT").filename(), "データ1.TXT");
    EXPECT_EQ(resolveFile(folder.path(), "memo.TXT").filename(), "Memo.Txt");
    // Missing files get the lower-case extension.
    EXPECT_EQ(resolveFile(folder.path(), "移動平均.TXT").filename(), "移動平均.txt");
    EXPECT_EQ(resolveFile(folder.path(), "データ2.txt").filename(), "データ2.txt");
    // Full-width letters are not folded.
    EXPECT_EQ(resolveFile(folder.path(), "データ１.txt").filename(), "データ１.txt");
    EXPECT_TRUE(fileExists(folder.path(), "データ1.txt"));
    EXPECT_FALSE(fileExists(folder.path(), "データ2.txt"));
    EXPECT_EQ(readTextFile(folder.path(), "MEMO.txt"), "y");
    EXPECT_EQ(readTextFile(folder.path(), "none.txt"), std::nullopt);
}

TEST(ReadFile, EveryByteOfEverySizeAndTheStatusOfAFailedRead) {
    // Sizes around the read buffers, with bytes that are not valid CP932 among them.
    TempFolder folder;
    for (std::size_t size : {std::size_t{0}, std::size_t{1}, std::size_t{4095}, std::size_t{65536},
                             std::size_t{65537}, std::size_t{300001}}) {
        std::string bytes(size, 'a');
        for (std::size_t i = 0; i < size; i += 97) bytes[i] = static_cast<char>(0x80 + i % 128);
        folder.writeBytes("データ1.txt", bytes);
        const FileBytes raw = readFileBytes(folder.path(), "データ1.txt");
        EXPECT_EQ(raw.status, ReadStatus::Ok) << size;
        EXPECT_EQ(raw.bytes, bytes) << size;
        const FileText text = readFile(folder.path(), "データ1.txt");
        EXPECT_EQ(text.status, ReadStatus::Ok) << size;
        EXPECT_EQ(text.text, fromCp932(bytes)) << size;
    }
    EXPECT_EQ(readFileBytes(folder.path(), "データ2.txt").status, ReadStatus::Missing);
    {
        auto fail = InjectFaults::once(2, {Op::Read});  // the second read of a long file
        const FileBytes raw = readFileBytes(folder.path(), "データ1.txt");
        EXPECT_TRUE(raw.failed());
    }
}

TEST(SafeRewrite, ReplacesTheExistingSpellingAndLeavesNoTemporaryFile) {
    TempFolder folder;
    folder.writeBytes("設定.TXT", "old");
    ASSERT_TRUE(safeRewrite(folder.path(), "設定.txt", "\"ヘルプツアー\",0\r\n"));
    EXPECT_EQ(folder.fileNames(), std::vector<std::string>{"設定.TXT"});
    EXPECT_EQ(folder.readCp932("設定.TXT"), "\"ヘルプツアー\",0\r\n");

    ASSERT_TRUE(safeRewrite(folder.path(), "new.txt", "", "コピー.txt"));
    EXPECT_EQ(folder.fileNames(), (std::vector<std::string>{"new.txt", "設定.TXT"}));
    EXPECT_EQ(folder.readBytes("new.txt"), "");
}

TEST(SafeRewrite, FailedWriteLeavesTheOldFileByteIdentical) {
    TempFolder folder;
    const std::string old = "\"2026/12/01\",\"朝食前\",65,20,1500,8,50,5,3,\"\",\"\"\r\n";
    folder.writeCp932("データ1.txt", old);
    const std::string oldBytes = folder.readBytes("データ1.txt");
    {
        auto fail = InjectFaults::always({Op::Write});
        EXPECT_FALSE(safeRewrite(folder.path(), "データ1.txt", old + old, "データコピー.txt"));
    }
    EXPECT_EQ(folder.readBytes("データ1.txt"), oldBytes);
    EXPECT_EQ(folder.fileNames(), std::vector<std::string>{"データ1.txt"});
    // A text with no CP932 form is refused before anything is written.
    EXPECT_FALSE(safeRewrite(folder.path(), "データ1.txt", "😀"));
    EXPECT_EQ(folder.readBytes("データ1.txt"), oldBytes);
    EXPECT_EQ(folder.fileNames(), std::vector<std::string>{"データ1.txt"});
}

TEST(AppendText, CreatesEndsATornLineAndTakesBackAFailedWrite) {
    TempFolder folder;
    ASSERT_TRUE(appendText(folder.path(), "log.TXT", "a\r\n"));
    EXPECT_EQ(folder.fileNames(), std::vector<std::string>{"log.txt"});
    ASSERT_TRUE(appendText(folder.path(), "log.txt", "b\r\n"));
    EXPECT_EQ(folder.readBytes("log.txt"), "a\r\nb\r\n");

    folder.writeBytes("log.txt", "a\r\ntorn");
    ASSERT_TRUE(appendText(folder.path(), "log.txt", "c\r\n"));
    EXPECT_EQ(folder.readBytes("log.txt"), "a\r\ntorn\r\nc\r\n");
    folder.writeBytes("log.txt", "\"a\"\r\n\"to");  // a quote left open by the tear
    ASSERT_TRUE(appendText(folder.path(), "log.txt", "\"c\"\r\n"));
    EXPECT_EQ(folder.readBytes("log.txt"), "\"a\"\r\n\"to\"\r\n\"c\"\r\n");
    // A quote inside a bare field opens nothing; a quoted field that runs over lines does.
    folder.writeBytes("log.txt", "a\"b");
    ASSERT_TRUE(appendText(folder.path(), "log.txt", "c\r\n"));
    EXPECT_EQ(folder.readBytes("log.txt"), "a\"b\r\nc\r\n");
    folder.writeBytes("log.txt", "\"x\r\ny\r\n");
    ASSERT_TRUE(appendText(folder.path(), "log.txt", "c\r\n"));
    EXPECT_EQ(folder.readBytes("log.txt"), "\"x\r\ny\r\n\"\r\nc\r\n");
    folder.writeBytes("log.txt", "a\r");
    ASSERT_TRUE(appendText(folder.path(), "log.txt", "c\r\n"));
    EXPECT_EQ(folder.readBytes("log.txt"), "a\r\nc\r\n");

    {
        auto fail = InjectFaults::always({Op::Write});
        EXPECT_FALSE(appendText(folder.path(), "log.txt", "longer line\r\n"));
        EXPECT_FALSE(appendText(folder.path(), "fresh.txt", "longer line\r\n"));
    }
    EXPECT_EQ(folder.readBytes("log.txt"), "a\r\nc\r\n");
    EXPECT_EQ(folder.fileNames(), std::vector<std::string>{"log.txt"});
    EXPECT_FALSE(appendText(folder.path(), "log.txt", "😀\r\n"));
    EXPECT_EQ(folder.readBytes("log.txt"), "a\r\nc\r\n");
}

}  // namespace
}  // namespace pairly::store
