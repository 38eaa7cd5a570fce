#include "crv/platform/text_file.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "crv/testing/files.h"

using namespace crv::platform;

namespace {
using crv::testing::readBytes;
using crv::testing::writeBytes;
std::string folder(const std::string& name) { return crv::testing::scratchFolder("text-" + name); }
}  // namespace

TEST(TextFile, CrLfAndLfReadAlike) {
    const std::string dir = folder("read");
    writeBytes(dir + "crlf", "CRV Version 5.0.6\r\n ISP\xb0\r\n\r\nlast");
    writeBytes(dir + "lf", "CRV Version 5.0.6\n ISP\xb0\n\nlast");
    auto a = readTextLines(dir + "crlf");
    auto b = readTextLines(dir + "lf");
    ASSERT_TRUE(a && b);
    EXPECT_EQ(*a, *b);
    ASSERT_EQ(a->size(), 4u);
    EXPECT_EQ((*a)[1], " ISP\xb0");  // Windows-1252 bytes pass untouched
    EXPECT_EQ((*a)[3], "last");      // a final line without an ending is kept
    EXPECT_FALSE(readTextLines(dir + "missing"));
}

TEST(TextFile, WritersEndLinesInCrLf) {
    const std::string dir = folder("write");
    ASSERT_TRUE(writeTextLinesAtomic(dir + "a.txt", {"one", "", "three"}));
    EXPECT_EQ(readBytes(dir + "a.txt"), "one\r\n\r\nthree\r\n");

    TextWriter w;
    ASSERT_TRUE(w.open(dir + "b.txt"));
    w.writeLine("x");
    ASSERT_TRUE(w.close());
    ASSERT_TRUE(w.open(dir + "b.txt", WriteMode::Append));
    w.writeLine("y");
    ASSERT_TRUE(w.close());
    EXPECT_EQ(readBytes(dir + "b.txt"), "x\r\ny\r\n");

    ASSERT_TRUE(w.open(dir + "c.txt"));
    w.writeLine("half");
    w.discard();
    EXPECT_FALSE(fileExists(dir + "c.txt"));

    // A kept file is finished: a late discard leaves it alone.
    ASSERT_TRUE(w.open(dir + "d.txt"));
    w.writeLine("kept");
    ASSERT_TRUE(w.close());
    w.discard();
    EXPECT_EQ(readBytes(dir + "d.txt"), "kept\r\n");
}

TEST(TextFile, AtomicWriteReplacesWholeOrNothing) {
    const std::string dir = folder("atomic");
    writeBytes(dir + "f", "old contents that are longer");
    ASSERT_TRUE(writeFileAtomic(dir + "f", "new"));
    EXPECT_EQ(readBytes(dir + "f"), "new");
    // A folder that does not exist: the old file elsewhere is untouched, the error says why.
    auto r = writeFileAtomic(dir + "nofolder/f", "x");
    EXPECT_FALSE(r);
    EXPECT_NE(r.error().find("nofolder"), std::string::npos);
}

// Only regular files are read: a folder, a FIFO with no writer, a device and
// an unreadable file each give a message naming the path instead of blocking
// or streaming without end.
TEST(TextFile, SpecialFilesAreRefusedByName) {
    const std::string dir = folder("special");
    std::filesystem::create_directory(dir + "folder");
    ASSERT_EQ(::mkfifo((dir + "fifo").c_str(), 0600), 0);
    std::filesystem::create_symlink("/dev/zero", dir + "zero");
    struct Case {
        std::string name;
        std::string expected;
    } cases[] = {
        {"folder", "Could not open " + dir + "folder: it is a folder"},
        {"fifo", "Could not open " + dir + "fifo: not a regular file"},
        {"zero", "Could not open " + dir + "zero: not a regular file"},
        {"missing", "Could not open " + dir + "missing: No such file or directory"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto lines = readTextLines(dir + c.name);
        ASSERT_FALSE(lines);
        EXPECT_EQ(lines.error(), c.expected);
        auto bytes = readRegularFile(dir + c.name, 1000);
        ASSERT_FALSE(bytes);
        EXPECT_EQ(bytes.error(), c.expected);
    }
}

TEST(TextFile, BoundsStopTheReaderWithAMessage) {
    const std::string dir = folder("bounds");
    writeBytes(dir + "long", "short\r\n" + std::string(40, 'x') + "\r\n");
    LineReader reader;
    reader.setMaxLineLength(32);
    ASSERT_TRUE(reader.open(dir + "long"));
    std::string line;
    EXPECT_TRUE(reader.next(line));
    EXPECT_FALSE(reader.next(line));
    ASSERT_TRUE(reader.failed());
    EXPECT_EQ(reader.error(), "Could not read " + dir + "long: line 2 is longer than 32 characters");

    EXPECT_TRUE(readRegularFile(dir + "long", 49));
    auto big = readRegularFile(dir + "long", 48);
    ASSERT_FALSE(big);
    EXPECT_EQ(big.error(), "Could not read " + dir + "long: larger than 48 bytes");
}
