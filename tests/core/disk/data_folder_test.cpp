#include "core/disk/data_folder.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <set>

#include "core/disk/codec.h"
#include "support/faults.h"
#include "support/temp_folder.h"

namespace pairly::disk {
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
    ASSERT_EQ(appendText(folder.path(), "log.TXT", "a\r\n"), WriteStatus::Ok);
    EXPECT_EQ(folder.fileNames(), std::vector<std::string>{"log.txt"});
    ASSERT_EQ(appendText(folder.path(), "log.txt", "b\r\n"), WriteStatus::Ok);
    EXPECT_EQ(folder.readBytes("log.txt"), "a\r\nb\r\n");

    folder.writeBytes("log.txt", "a\r\ntorn");
    ASSERT_EQ(appendText(folder.path(), "log.txt", "c\r\n"), WriteStatus::Ok);
    EXPECT_EQ(folder.readBytes("log.txt"), "a\r\ntorn\r\nc\r\n");
    folder.writeBytes("log.txt", "\"a\"\r\n\"to");  // a quote left open by the tear
    ASSERT_EQ(appendText(folder.path(), "log.txt", "\"c\"\r\n"), WriteStatus::Ok);
    EXPECT_EQ(folder.readBytes("log.txt"), "\"a\"\r\n\"to\"\r\n\"c\"\r\n");
    // A quote inside a bare field opens nothing; a quoted field that runs over lines does.
    folder.writeBytes("log.txt", "a\"b");
    ASSERT_EQ(appendText(folder.path(), "log.txt", "c\r\n"), WriteStatus::Ok);
    EXPECT_EQ(folder.readBytes("log.txt"), "a\"b\r\nc\r\n");
    folder.writeBytes("log.txt", "\"x\r\ny\r\n");
    ASSERT_EQ(appendText(folder.path(), "log.txt", "c\r\n"), WriteStatus::Ok);
    EXPECT_EQ(folder.readBytes("log.txt"), "\"x\r\ny\r\n\"\r\nc\r\n");
    folder.writeBytes("log.txt", "a\r");
    ASSERT_EQ(appendText(folder.path(), "log.txt", "c\r\n"), WriteStatus::Ok);
    EXPECT_EQ(folder.readBytes("log.txt"), "a\r\nc\r\n");

    {
        auto fail = InjectFaults::always({Op::Write});
        EXPECT_NE(appendText(folder.path(), "log.txt", "longer line\r\n"), WriteStatus::Ok);
        EXPECT_NE(appendText(folder.path(), "fresh.txt", "longer line\r\n"), WriteStatus::Ok);
    }
    EXPECT_EQ(folder.readBytes("log.txt"), "a\r\nc\r\n");
    EXPECT_EQ(folder.fileNames(), std::vector<std::string>{"log.txt"});
    EXPECT_NE(appendText(folder.path(), "log.txt", "😀\r\n"), WriteStatus::Ok);
    EXPECT_EQ(folder.readBytes("log.txt"), "a\r\nc\r\n");
}

// The reference values of the xxHash64 algorithm (seed 0).
TEST(FileStamp, HashIsXxHash64AndEveryBitCounts) {
    std::string hundred;
    for (int i = 0; i < 100; ++i) hundred += static_cast<char>(i);
    const struct {
        std::string bytes;
        std::uint64_t hash;
    } cases[] = {
        {"", 0xef46db3751d8e999ULL},
        {"a", 0xd24ec4f1a98c6e5bULL},
        {"abc", 0x44bc2cf5ad770999ULL},
        {"0123456789abcdef0123456789abcdef0", 0xe87684f08d6d0816ULL},  // one stripe and more
        {hundred, 0x6ac1e58032166597ULL},
        {*toCp932("データ1.txt"), 0x9d267fed51444ae8ULL},
    };
    for (const auto& c : cases) EXPECT_EQ(hashBytes(c.bytes), c.hash) << c.bytes.size();
    // One bit changed anywhere, or one byte more, is another content.
    std::set<std::uint64_t> seen = {hashBytes(hundred), hashBytes(hundred + '\0')};
    for (std::size_t i = 0; i < hundred.size(); ++i) {
        for (int bit = 0; bit < 8; ++bit) {
            std::string changed = hundred;
            changed[i] = static_cast<char>(changed[i] ^ (1 << bit));
            seen.insert(hashBytes(changed));
        }
    }
    EXPECT_EQ(seen.size(), 2 + hundred.size() * 8);
}

// A read tells what it read: the bytes, that there was no file, or nothing it can vouch
// for; only the first two are something a file can still hold.
TEST(FileStamp, ReadsStampWhatTheyRead) {
    TempFolder folder;
    folder.writeBytes("a.txt", "abc\r\n");
    EXPECT_EQ(readFileBytes(folder.path(), "a.txt").stamp, FileStamp::of("abc\r\n"));
    EXPECT_EQ(readFile(folder.path(), "A.TXT").stamp, FileStamp::of("abc\r\n"));
    EXPECT_EQ(readFileBytes(folder.path(), "b.txt").stamp, FileStamp::missing());
    {
        auto fail = InjectFaults::once(1, {Op::Read});
        EXPECT_EQ(readFileBytes(folder.path(), "a.txt").stamp, FileStamp{});
    }
    const FileStamp unknown{};
    const struct {
        FileStamp shown, now;
        bool holds;
    } cases[] = {
        {FileStamp::of("abc"), FileStamp::of("abc"), true},
        {FileStamp::of("abc"), FileStamp::of("abd"), false},
        {FileStamp::of(""), FileStamp::missing(), false},  // emptied is not removed
        {FileStamp::missing(), FileStamp::missing(), true},
        {FileStamp::missing(), FileStamp::of(""), false},
        {unknown, unknown, false},  // a failed read vouches for nothing
        {unknown, FileStamp::missing(), false},
    };
    for (const auto& c : cases) EXPECT_EQ(stillHolds(c.shown, c.now), c.holds);
}

// The one check of every change made from what a screen read: the file must still hold
// those bytes. Otherwise nothing is written and no temporary file is left.
TEST(RewriteIfUnchanged, WritesOnlyOverTheBytesItWasRead) {
    const struct {
        const char* before;  // nullptr: no file
        FileStamp shown;
        WriteStatus status;
    } cases[] = {
        {"old\r\n", FileStamp::of("old\r\n"), WriteStatus::Ok},
        {nullptr, FileStamp::missing(), WriteStatus::Ok},
        {"other\r\n", FileStamp::of("old\r\n"), WriteStatus::Stale},
        {"old\r\n\r\n", FileStamp::of("old\r\n"), WriteStatus::Stale},
        {nullptr, FileStamp::of("old\r\n"), WriteStatus::Stale},  // removed meanwhile
        {"", FileStamp::missing(), WriteStatus::Stale},           // made meanwhile
        {"old\r\n", FileStamp{}, WriteStatus::Stale},             // read had failed
    };
    for (const auto& c : cases) {
        TempFolder folder;
        if (c.before) folder.writeBytes("メモ.txt", c.before);
        const WriteResult result =
            rewriteIfUnchanged(folder.path(), "メモ.txt", "new\r\n", c.shown);
        EXPECT_EQ(result.status, c.status) << (c.before ? c.before : "(none)");
        if (c.status == WriteStatus::Ok) {
            EXPECT_EQ(folder.readBytes("メモ.txt"), "new\r\n");
            EXPECT_EQ(result.stamp, FileStamp::of("new\r\n"));
        } else {
            EXPECT_EQ(folder.exists("メモ.txt"), c.before != nullptr);
            if (c.before) {
                EXPECT_EQ(folder.readBytes("メモ.txt"), c.before);
            }
        }
        EXPECT_EQ(folder.fileNames().size(), c.before || c.status == WriteStatus::Ok ? 1u : 0u);
    }
    // The check's read failing writes nothing either.
    TempFolder folder;
    folder.writeBytes("メモ.txt", "old");
    {
        auto fail = InjectFaults::once(1, {Op::Read});
        EXPECT_EQ(rewriteIfUnchanged(folder.path(), "メモ.txt", "new", FileStamp::of("old")).status,
                  WriteStatus::ReadFailed);
    }
    EXPECT_EQ(folder.fileNames(), std::vector<std::string>{"メモ.txt"});
    EXPECT_EQ(folder.readBytes("メモ.txt"), "old");
}

// A failed fsync is a failed write. Before the rename the old file stays; after it the new
// content is in place and the status says that the disk did not confirm it. A file system
// that cannot sync a folder at all is no failure.
TEST(RewriteFile, FailedFsyncsAreToldAndMatchTheFiles) {
    TempFolder folder;
    folder.writeBytes("a.txt", "old");
    {
        auto fail = InjectFaults::once(1, {Op::Fsync});
        EXPECT_EQ(rewriteFile(folder.path(), "a.txt", "new"), WriteStatus::WriteFailed);
    }
    EXPECT_EQ(folder.readBytes("a.txt"), "old");
    {
        auto fail = InjectFaults::once(1, {Op::FolderSync});
        EXPECT_EQ(rewriteFile(folder.path(), "a.txt", "new"), WriteStatus::Unsynced);
    }
    EXPECT_EQ(folder.readBytes("a.txt"), "new");
    EXPECT_EQ(folder.fileNames(), std::vector<std::string>{"a.txt"});

    // An append that makes the file needs the folder synced; without it the file goes.
    {
        auto fail = InjectFaults::once(1, {Op::FolderSync});
        AppendStamps stamps;
        EXPECT_NE(appendText(folder.path(), "b.txt", "line\r\n", &stamps), WriteStatus::Ok);
        EXPECT_EQ(appendText(folder.path(), "a.txt", "line\r\n", &stamps), WriteStatus::Ok);
        EXPECT_EQ(stamps.before, FileStamp::of("new"));
        EXPECT_EQ(stamps.after, FileStamp::of("new\r\nline\r\n"));
    }
    EXPECT_EQ(folder.fileNames(), std::vector<std::string>{"a.txt"});
    EXPECT_EQ(fileops::syncFolder(folder.path().c_str()), 0);
    EXPECT_EQ(fileops::syncFolder("/proc/self"), 0);  // EINVAL: cannot be synced at all
}

}  // namespace
}  // namespace pairly::disk
