// The settings record: its defaults and layout, the fields by name as
// Nimbrel.cfg and the command line name them, and the file itself.
#include "shell/Settings.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "shell/AtomicFile.h"
#include "shell/SettingsFields.h"
#include "support/GoldenCase.h"
#include "support/TempDirectory.h"

#ifndef _WIN32
#include <sys/stat.h>
#include <sys/sysmacros.h>
#endif
#ifdef __linux__
#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>

#include <csignal>
#include <fstream>
#include <iostream>
#endif

namespace nimbrel {
namespace {

TEST(Settings, WrapColumnClamp) {
    const struct {
        int in, out;
    } cases[] = {{40, 60}, {59, 60}, {60, 60}, {72, 72}, {132, 132}, {133, 132}, {200, 132}};
    for (const auto& c : cases)
        EXPECT_EQ(ClampWrapColumn(c.in), c.out) << c.in;
}

TEST(SettingsFields, CoverEveryByteOfTheRecordButThePadding) {
    // Each field's size, by kind; together with the padding they must tile
    // the record exactly, so a field missing from the table shows up here.
    std::size_t covered = 2;  // padding
    for (const SettingsField& field : AllSettingsFields()) {
        covered += field.kind == FieldKind::Template    ? 512
                   : field.kind == FieldKind::QuoteChar ? 2
                                                        : 4;
        EXPECT_EQ(FindSettingsField(field.name), &field);
    }
    EXPECT_EQ(covered, sizeof(Settings));
}

TEST(SettingsFields, AcceptsOnlyWhatTheFieldCanTake) {
    for (const std::vector<String>& c : LoadTable("settings_assignments")) {
        const std::string assignment = Utf8(c.at(0));
        const bool ok = c.at(1) != u"refused";
        Settings record = Settings::Defaults();
        const Settings before = record;
        const std::string error = ApplySettingsAssignment(record, assignment);
        EXPECT_EQ(error.empty(), ok) << assignment << ": " << error;
        if (ok) {
            const std::string name = assignment.substr(0, assignment.find('='));
            EXPECT_EQ(FormatSettingsField(record, *FindSettingsField(name)), Utf8(c[1]));
        } else {
            EXPECT_EQ(std::memcmp(&record, &before, sizeof record), 0) << assignment;
            EXPECT_NE(error.find('\n'), 0u);
        }
    }
}

TEST(SettingsFields, TemplateLimitIs255UnitsAndClearsTheRest) {
    Settings record = Settings::Defaults();
    EXPECT_EQ(SetSettingsField(record, "newsHeader.text", std::string(255, 'x')), "");
    EXPECT_EQ(record.newsHeader.text[254], u'x');
    EXPECT_EQ(record.newsHeader.text[255], 0);
    EXPECT_NE(SetSettingsField(record, "newsHeader.text", std::string(256, 'x')), "");
    EXPECT_EQ(SetSettingsField(record, "newsHeader.text", "short"), "");
    for (int i = 5; i < kTemplateUnits; ++i)
        ASSERT_EQ(record.newsHeader.text[i], 0) << i;
}

std::string Bytes(const Settings& record) {
    return std::string(reinterpret_cast<const char*>(&record), sizeof record);
}

// A missing file keeps the defaults; a save writes the record's every byte
// over an old file and a temporary one left by a crash, and reads back whole.
TEST(SettingsFile, SaveWritesEveryByteAndLoadReadsThemBack) {
    TempDirectory dir;
    Settings record = Settings::Defaults();
    EXPECT_TRUE(LoadSettings(record, dir / kSettingsFileName));
    EXPECT_EQ(Bytes(record), Bytes(Settings::Defaults()));
    // wrapColumn 72, quoteChar '>' and zero padding, low byte first.
    EXPECT_EQ(Bytes(record).substr(0, 8), std::string("\x48\0\0\0\x3E\0\0\0", 8));

    WriteFileBytes(dir / kSettingsFileName, "old contents");
    WriteFileBytes(dir / "Nimbrel.cfg.tmp", "left over from a crash");
    record.wrapColumn = 40;  // out of the dialog's range: stored as it is
    record.padding = 0xBEEF;
    record.emailHeader.text[200] = u'x';  // after the terminator
    record.newsHeader.style = 7;
    record.cursorAtTop = 2;
    ASSERT_FALSE(SaveSettings(record, dir / kSettingsFileName));
    EXPECT_EQ(ReadFileBytes(dir / kSettingsFileName), Bytes(record));
    EXPECT_FALSE(std::filesystem::exists(dir / "Nimbrel.cfg.tmp"));

    Settings loaded = Settings::Defaults();
    EXPECT_FALSE(LoadSettings(loaded, dir / kSettingsFileName));
    EXPECT_EQ(Bytes(loaded), Bytes(record));
}

TEST(SettingsFile, ShortAndLongFilesOverwriteOnlyTheirBytes) {
    const std::string pattern(1200, '\x01');
    const struct {
        const char* name;
        std::string file;
        void (*expect)(Settings&);  // applies the expected change to the defaults
    } cases[] = {
        {"empty", "", [](Settings&) {}},
        {"one byte", "\x64", [](Settings& s) { s.wrapColumn = 100; }},
        {"wrap column", std::string("\x28\0\0\0", 4), [](Settings& s) { s.wrapColumn = 40; }},
        {"cuts through quoteChar", std::string("\x48\0\0\0\x7C", 5),
         [](Settings& s) { s.quoteChar = u'|'; }},
        {"long", pattern,
         [](Settings& s) {
             std::memset(&s, 1, sizeof s);
             s.emailHeader.text[kTemplateUnits - 1] = 0;
             s.newsHeader.text[kTemplateUnits - 1] = 0;
         }},
    };
    for (const auto& c : cases) {
        TempDirectory dir;
        WriteFileBytes(dir / kSettingsFileName, c.file);
        Settings loaded = Settings::Defaults();
        EXPECT_FALSE(LoadSettings(loaded, dir / kSettingsFileName)) << c.name;
        Settings expected = Settings::Defaults();
        c.expect(expected);
        EXPECT_EQ(Bytes(loaded), Bytes(expected)) << c.name;
    }
}

TEST(SettingsFile, AnUnreadableFileOrAFailedSaveIsReportedAndLeavesNoTrace) {
    TempDirectory dir;
    Settings record = Settings::Defaults();

    // The directory does not exist: nothing can be created.
    EXPECT_TRUE(SaveSettings(record, dir / "missing" / kSettingsFileName));
    EXPECT_FALSE(std::filesystem::exists(dir / "missing"));

    // The temporary file is written but cannot be renamed over a directory:
    // it must be removed again and the directory must stay.
    std::filesystem::create_directory(dir / kSettingsFileName);
    EXPECT_TRUE(LoadSettings(record, dir / kSettingsFileName));  // not a file to read
    EXPECT_EQ(Bytes(record), Bytes(Settings::Defaults()));
    EXPECT_TRUE(SaveSettings(record, dir / kSettingsFileName));
    EXPECT_TRUE(std::filesystem::is_directory(dir / kSettingsFileName));
    EXPECT_FALSE(std::filesystem::exists(dir / "Nimbrel.cfg.tmp"));
}

#ifdef __linux__
// Saving on a full disk fails, says so, and leaves the old file whole. The
// disk is full in two ways: a file system of 64 KiB mounted for the test and
// filled up (as root, where mounting is allowed; in a mount namespace of the
// test's own where one can be made, so that nothing is left mounted), and a
// limit on the size of files the process writes (anyone).
TEST(SettingsFile, AFullDiskLeavesTheOldFileWhole) {
    for (const bool fileSystem : {true, false}) {
        SCOPED_TRACE(fileSystem ? "full file system" : "file size limit");
        TempDirectory dir;
        const std::filesystem::path disk = dir / "disk";
        std::filesystem::create_directory(disk);
        struct Unmount {
            const std::filesystem::path& at;
            ~Unmount() { ::umount2(at.c_str(), MNT_DETACH); }  // nothing there: nothing done
        } unmount{disk};
        if (fileSystem) {
            if (::unshare(CLONE_NEWNS) == 0)
                ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr);
            if (::mount("nimbrel-test", disk.c_str(), "tmpfs", 0, "size=64k") != 0) {
                std::cout << "not tested on a full file system: it cannot be mounted here\n";
                continue;
            }
        }
        // The settings, and a file small enough to wait in the stream's
        // buffer until it is closed.
        const std::filesystem::path file = disk / kSettingsFileName;
        Settings old = Settings::Defaults();
        old.wrapColumn = 76;
        ASSERT_FALSE(SaveSettings(old, file));
        WriteFileBytes(disk / "small.txt", "old");

        rlimit limit{};
        ::getrlimit(RLIMIT_FSIZE, &limit);
        const rlim_t unlimited = limit.rlim_cur;
        if (fileSystem) {
            std::ofstream filler(disk / "filler", std::ios::binary);
            const std::string block(4096, 'x');
            while (filler.write(block.data(), static_cast<std::streamsize>(block.size())).flush()) {
            }
        } else {
            std::signal(SIGXFSZ, SIG_IGN);  // the write fails instead
            limit.rlim_cur = 2;
            ::setrlimit(RLIMIT_FSIZE, &limit);
        }
        Settings changed = old;
        changed.wrapColumn = 100;
        changed.quoteChar = u'|';
        const bool saveFailed = SaveSettings(changed, file);
        const bool smallFailed = WriteFileAtomically(disk / "small.txt", "new");
        limit.rlim_cur = unlimited;
        ::setrlimit(RLIMIT_FSIZE, &limit);
        std::signal(SIGXFSZ, SIG_DFL);

        EXPECT_TRUE(saveFailed);
        EXPECT_TRUE(smallFailed);
        EXPECT_EQ(ReadFileBytes(file), Bytes(old));
        EXPECT_EQ(ReadFileBytes(disk / "small.txt"), "old");
        EXPECT_FALSE(std::filesystem::exists(disk / "Nimbrel.cfg.tmp"));
        EXPECT_FALSE(std::filesystem::exists(disk / "small.txt.tmp"));
    }
}
#endif

#ifndef _WIN32
// A device is written into, not replaced by a plain file; a directory is
// refused. The device is a null device of the test's own where it may be
// made (as root), else /dev/null.
TEST(AtomicFile, ADeviceIsWrittenIntoAndADirectoryRefused) {
    TempDirectory dir;
    std::filesystem::path device = dir / "null";
    if (::mknod(device.c_str(), S_IFCHR | 0666, makedev(1, 3)) != 0) device = "/dev/null";
    EXPECT_FALSE(WriteFileAtomically(device, "bytes"));
    EXPECT_TRUE(std::filesystem::is_character_file(device));
    EXPECT_FALSE(std::filesystem::exists(device.string() + ".tmp"));

    std::filesystem::create_directory(dir / "folder");
    EXPECT_TRUE(WriteFileAtomically(dir / "folder", "bytes"));
    EXPECT_TRUE(std::filesystem::is_directory(dir / "folder"));
}
#endif

}  // namespace
}  // namespace nimbrel
