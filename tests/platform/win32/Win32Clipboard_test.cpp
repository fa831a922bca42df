// The Win32 clipboard and global memory as the clipboard text access uses
// them: a CF_TEXT block goes round through GlobalAlloc, the clipboard and the
// thread's code page (run under Wine).
#ifdef _WIN32

#include "platform/win32/Win32Clipboard.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/win32/Win32GlobalMemory.h"
#include "platform/win32/Win32SystemServices.h"

namespace nimbrel {
namespace {

class Win32ClipboardTest : public ::testing::Test {
  protected:
    void TearDown() override { clipboard.CloseClipboard(); }

    MemoryHandle Block(const std::string& bytes) {
        const MemoryHandle block = memory.GlobalAlloc(gmem::kDdeShare, bytes.size() + 1);
        EXPECT_NE(block, kNoMemory);
        void* data = memory.GlobalLock(block);
        EXPECT_NE(data, nullptr);
        std::memcpy(data, bytes.c_str(), bytes.size() + 1);
        memory.GlobalUnlock(block);  // a fixed block: what it answers varies
        return block;
    }

    Win32Clipboard clipboard;
    Win32GlobalMemory memory;
    Win32SystemServices system;
};

TEST_F(Win32ClipboardTest, TextGoesRoundThroughTheClipboard) {
    const std::string written = system.WideCharToMultiByte(u"quoted > text\r\nline two");
    const MemoryHandle block = Block(written);

    ASSERT_TRUE(clipboard.OpenClipboard(kNoWindow));
    ASSERT_TRUE(clipboard.OpenClipboard(kNoWindow));  // again by the same thread
    ASSERT_TRUE(clipboard.EmptyClipboard());
    EXPECT_EQ(clipboard.SetClipboardData(cf::kText, block), block);
    ASSERT_TRUE(clipboard.CloseClipboard());
    EXPECT_FALSE(clipboard.CloseClipboard());

    EXPECT_TRUE(clipboard.IsClipboardFormatAvailable(cf::kText));
    EXPECT_EQ(clipboard.GetClipboardData(cf::kText), kNoMemory);  // not open
    ASSERT_TRUE(clipboard.OpenClipboard(kNoWindow));
    bool listed = false;
    for (std::uint32_t format = clipboard.EnumClipboardFormats(0); format != 0;
         format = clipboard.EnumClipboardFormats(format)) {
        listed = listed || format == cf::kText;
    }
    EXPECT_TRUE(listed);
    const MemoryHandle held = clipboard.GetClipboardData(cf::kText);
    ASSERT_NE(held, kNoMemory);
    EXPECT_GE(memory.GlobalSize(held), written.size() + 1);
    const auto* bytes = static_cast<const char*>(memory.GlobalLock(held));
    ASSERT_NE(bytes, nullptr);
    EXPECT_EQ(system.MultiByteToWideChar(bytes), u"quoted > text\r\nline two");
    memory.GlobalUnlock(held);
    EXPECT_TRUE(clipboard.CloseClipboard());
}

TEST_F(Win32ClipboardTest, RegisteredFormatsHaveTheirNames) {
    const std::uint32_t html = clipboard.RegisterClipboardFormatW(u"HTML Format");
    EXPECT_GE(html, cf::kFirstRegistered);
    EXPECT_EQ(clipboard.RegisterClipboardFormatW(u"html format"), html);

    char16_t name[256] = {};
    EXPECT_EQ(clipboard.GetClipboardFormatNameW(html, name, 256), 11);
    EXPECT_EQ(String(name), u"HTML Format");
    char16_t shortName[5] = {};
    EXPECT_EQ(clipboard.GetClipboardFormatNameW(html, shortName, 5), 4);
    EXPECT_EQ(String(shortName), u"HTML");
    EXPECT_EQ(clipboard.GetClipboardFormatNameW(cf::kText, name, 256), 0);
}

TEST_F(Win32ClipboardTest, GlobalMemoryAnswersAsTheSeamSays) {
    const MemoryHandle block = memory.GlobalAlloc(gmem::kMoveable, 10);
    ASSERT_NE(block, kNoMemory);
    EXPECT_GE(memory.GlobalSize(block), 10u);
    ASSERT_NE(memory.GlobalLock(block), nullptr);
    ASSERT_NE(memory.GlobalLock(block), nullptr);
    EXPECT_TRUE(memory.GlobalUnlock(block));  // still locked once
    EXPECT_FALSE(memory.GlobalUnlock(block));
    EXPECT_EQ(memory.GlobalFree(block), kNoMemory);
}

}  // namespace
}  // namespace nimbrel

#endif  // _WIN32
