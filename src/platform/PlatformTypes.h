// The value types of the platform seam: opaque handles of our own instead of
// the Win32 handle types, and the Win32 constants the program passes or
// receives, with their Win32 values so that an implementation on Windows is a
// plain cast.
#pragma once

#include <cstdint>

namespace nimbrel {

// A window (HWND). Zero is "no window".
enum class WindowHandle : std::uintptr_t {};
constexpr WindowHandle kNoWindow{};

// A global memory block (HGLOBAL). Zero is "no block".
enum class MemoryHandle : std::uintptr_t {};
constexpr MemoryHandle kNoMemory{};

// A loaded library (HMODULE) and the address of one of its functions
// (FARPROC). Zero is "none".
enum class ModuleHandle : std::uintptr_t {};
constexpr ModuleHandle kNoModule{};
enum class ProcAddress : std::uintptr_t {};
constexpr ProcAddress kNoProc{};

// An open registry key (HKEY), or one of the predefined roots.
enum class RegistryKey : std::uintptr_t {};
constexpr RegistryKey kNoKey{};
constexpr RegistryKey kHkeyCurrentUser{0x80000001u};
constexpr RegistryKey kHkeyLocalMachine{0x80000002u};

// COM interface pointers of MSHTML: IHTMLDocument2, IHTMLElement and
// IHTMLStyleSheet. Each non-zero value holds one reference, given back with
// the matching Release operation of HtmlDocuments.
enum class HtmlDocument : std::uintptr_t {};
enum class HtmlElement : std::uintptr_t {};
enum class HtmlStyleSheet : std::uintptr_t {};
constexpr HtmlDocument kNoDocument{};
constexpr HtmlElement kNoElement{};
constexpr HtmlStyleSheet kNoStyleSheet{};

// User-interface objects: a menu (HMENU), an icon (HICON), a cursor
// (HCURSOR), a font (HFONT), a brush (HBRUSH) and a device context (HDC).
// Zero is "none".
enum class MenuHandle : std::uintptr_t {};
enum class IconHandle : std::uintptr_t {};
enum class CursorHandle : std::uintptr_t {};
enum class FontHandle : std::uintptr_t {};
enum class BrushHandle : std::uintptr_t {};
enum class DeviceContext : std::uintptr_t {};
constexpr MenuHandle kNoMenu{};
constexpr IconHandle kNoIcon{};
constexpr CursorHandle kNoCursor{};
constexpr FontHandle kNoFont{};
constexpr BrushHandle kNoBrush{};

// POINT, RECT (right and bottom exclusive) and SIZE, in pixels.
struct Point {
    int x = 0;
    int y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};
struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    // PtInRect.
    bool Contains(Point p) const {
        return p.x >= left && p.x < right && p.y >= top && p.y < bottom;
    }
    friend bool operator==(const Rect&, const Rect&) = default;
};
struct Size {
    int cx = 0;
    int cy = 0;
    friend bool operator==(const Size&, const Size&) = default;
};

// A colour (COLORREF): red in the low byte, then green, then blue.
using Colour = std::uint32_t;
constexpr Colour Rgb(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    return static_cast<Colour>(red) | (static_cast<Colour>(green) << 8) |
           (static_cast<Colour>(blue) << 16);
}

using WParam = std::uintptr_t;
using LParam = std::intptr_t;
using LResult = std::intptr_t;
using HResult = std::int32_t;

// An interface identifier (GUID) in its Win32 layout.
struct Guid {
    std::uint32_t data1;
    std::uint16_t data2;
    std::uint16_t data3;
    std::uint8_t data4[8];

    friend bool operator==(const Guid&, const Guid&) = default;
};

// IID_IHTMLDocument2, {332C4425-26CB-11D0-B483-00C04FD90119}.
constexpr Guid kIidIHtmlDocument2{
    0x332C4425, 0x26CB, 0x11D0, {0xB4, 0x83, 0x00, 0xC0, 0x4F, 0xD9, 0x01, 0x19}};

namespace hr {
constexpr HResult kOk = 0;                                              // S_OK
constexpr HResult kFalse = 1;                                           // S_FALSE
constexpr HResult kNoInterface = static_cast<HResult>(0x80004002u);     // E_NOINTERFACE
constexpr HResult kPointer = static_cast<HResult>(0x80004003u);         // E_POINTER
constexpr HResult kFail = static_cast<HResult>(0x80004005u);            // E_FAIL
constexpr HResult kInvalidArg = static_cast<HResult>(0x80070057u);      // E_INVALIDARG
constexpr HResult kDisconnected = static_cast<HResult>(0x80010108u);    // RPC_E_DISCONNECTED
constexpr HResult kCallRejected = static_cast<HResult>(0x80010001u);    // RPC_E_CALL_REJECTED
constexpr HResult kCallCanceled = static_cast<HResult>(0x80010002u);    // RPC_E_CALL_CANCELED
constexpr HResult kNotInitialized = static_cast<HResult>(0x800401F0u);  // CO_E_NOTINITIALIZED
}  // namespace hr

// Answers and kinds of the message filter (IMessageFilter): SERVERCALL_*,
// PENDINGMSG_* and PENDINGTYPE_*.
namespace servercall {
constexpr std::uint32_t kIsHandled = 0;
constexpr std::uint32_t kRejected = 1;
constexpr std::uint32_t kRetryLater = 2;
}  // namespace servercall
namespace pendingmsg {
constexpr std::uint32_t kCancelCall = 0;
constexpr std::uint32_t kWaitNoProcess = 1;
constexpr std::uint32_t kWaitDefProcess = 2;
}  // namespace pendingmsg
namespace pendingtype {
constexpr std::uint32_t kTopLevel = 1;
constexpr std::uint32_t kNested = 2;
}  // namespace pendingtype

// Virtual key codes.
namespace vk {
constexpr std::uint8_t kControl = 0x11;
constexpr std::uint8_t kMenu = 0x12;  // Alt
constexpr std::uint8_t kSpace = 0x20;
constexpr std::uint8_t kEnd = 0x23;
constexpr std::uint8_t kHome = 0x24;
constexpr std::uint8_t kUp = 0x26;
constexpr std::uint8_t kA = 0x41;
constexpr std::uint8_t kC = 0x43;
constexpr std::uint8_t kV = 0x56;
}  // namespace vk

// keybd_event flags.
namespace keyevent {
constexpr std::uint32_t kExtendedKey = 0x1;
constexpr std::uint32_t kKeyUp = 0x2;
}  // namespace keyevent

// ShowWindow commands.
namespace sw {
constexpr int kHide = 0;
constexpr int kShowNormal = 1;
constexpr int kShow = 5;
}  // namespace sw

// SendMessageTimeoutW flags.
namespace smto {
constexpr std::uint32_t kNormal = 0x0;
constexpr std::uint32_t kAbortIfHung = 0x2;
}  // namespace smto

// Window messages.
namespace wm {
constexpr std::uint32_t kNull = 0x0000;
constexpr std::uint32_t kDestroy = 0x0002;
constexpr std::uint32_t kClose = 0x0010;
constexpr std::uint32_t kQueryEndSession = 0x0011;
constexpr std::uint32_t kQuit = 0x0012;
constexpr std::uint32_t kEndSession = 0x0016;
constexpr std::uint32_t kSetCursor = 0x0020;
constexpr std::uint32_t kHelp = 0x0053;
constexpr std::uint32_t kSetIcon = 0x0080;
constexpr std::uint32_t kInitDialog = 0x0110;
constexpr std::uint32_t kCommand = 0x0111;
constexpr std::uint32_t kSysCommand = 0x0112;
constexpr std::uint32_t kTimer = 0x0113;
constexpr std::uint32_t kCtlColorStatic = 0x0138;
constexpr std::uint32_t kMouseMove = 0x0200;
constexpr std::uint32_t kLButtonDblClk = 0x0203;
constexpr std::uint32_t kRButtonUp = 0x0205;
constexpr std::uint32_t kMouseLeave = 0x02A3;
constexpr std::uint32_t kUser = 0x0400;
}  // namespace wm

// TrackMouseEvent flags.
namespace tme {
constexpr std::uint32_t kLeave = 0x00000002;
constexpr std::uint32_t kCancel = 0x80000000;
}  // namespace tme

// ChangeWindowMessageFilter actions.
namespace msgflt {
constexpr std::uint32_t kAdd = 1;
}  // namespace msgflt

// GetSystemMetrics indexes: the sizes of big and small icons.
namespace sm {
constexpr int kCxIcon = 11;
constexpr int kCyIcon = 12;
constexpr int kCxSmIcon = 49;
constexpr int kCySmIcon = 50;
}  // namespace sm

// GetDeviceCaps indexes: the screen's logical pixels per inch.
namespace caps {
constexpr int kLogPixelsX = 88;
constexpr int kLogPixelsY = 90;
}  // namespace caps

// WM_COMMAND parameters: the identifier in the low word of wParam, the
// notification code in the high word (MAKEWPARAM, LOWORD, HIWORD).
constexpr WParam MakeWParam(int low, int high) {
    return (static_cast<WParam>(static_cast<std::uint16_t>(high)) << 16) |
           static_cast<std::uint16_t>(low);
}
constexpr int LowWord(std::uintptr_t value) {
    return static_cast<std::uint16_t>(value & 0xFFFF);
}
constexpr int HighWord(std::uintptr_t value) {
    return static_cast<std::uint16_t>((value >> 16) & 0xFFFF);
}
// MAKELPARAM and GET_X_LPARAM / GET_Y_LPARAM of mouse messages.
constexpr LParam MakeLParam(int low, int high) {
    return static_cast<LParam>(
        (static_cast<std::uint32_t>(static_cast<std::uint16_t>(high)) << 16) |
        static_cast<std::uint16_t>(low));
}
constexpr Point PointFromLParam(LParam value) {
    return Point{static_cast<std::int16_t>(value & 0xFFFF),
                 static_cast<std::int16_t>((value >> 16) & 0xFFFF)};
}

// Notification codes of WM_COMMAND.
namespace bn {
constexpr int kClicked = 0;  // BN_CLICKED, also STN_CLICKED of a static with SS_NOTIFY
}
namespace en {
constexpr int kKillFocus = 0x0200;
constexpr int kChange = 0x0300;
}  // namespace en
namespace cbn {
constexpr int kSelChange = 1;
}

// WM_SYSCOMMAND commands.
namespace sc {
constexpr std::uint32_t kClose = 0xF060;
}

// WM_SETICON kinds.
namespace icon {
constexpr int kSmall = 0;
constexpr int kBig = 1;
}  // namespace icon

// Window styles (GWL_STYLE) the program looks at or creates.
namespace ws {
constexpr std::uint32_t kPopup = 0x80000000u;
}
// Static control styles.
namespace ss {
constexpr std::uint32_t kCenter = 0x0001;
constexpr std::uint32_t kRight = 0x0002;
constexpr std::uint32_t kNotify = 0x0100;
constexpr std::uint32_t kCenterImage = 0x0200;
}  // namespace ss
constexpr int kGwlStyle = -16;  // GWL_STYLE

// SetWindowPos flags.
namespace swp {
constexpr std::uint32_t kNoZOrder = 0x0004;
}

// Button check states (BST_*).
namespace bst {
constexpr std::uint32_t kUnchecked = 0;
constexpr std::uint32_t kChecked = 1;
}  // namespace bst

// Combo box and list box results.
constexpr int kComboError = -1;  // CB_ERR

// System cursors (IDC_*), colours (COLOR_*), stock objects, background modes.
namespace idc {
constexpr int kArrow = 32512;
constexpr int kHand = 32649;
}  // namespace idc
constexpr int kColorHighlight = 13;  // COLOR_HIGHLIGHT
constexpr int kNullBrush = 5;        // NULL_BRUSH
constexpr int kTransparent = 1;      // TRANSPARENT

// Menu flags (MF_*), TrackPopupMenu flags (TPM_*).
namespace mf {
constexpr std::uint32_t kByCommand = 0x0000;
constexpr std::uint32_t kString = 0x0000;
constexpr std::uint32_t kByPosition = 0x0400;
}  // namespace mf
namespace tpm {
constexpr std::uint32_t kLeftAlign = 0x0000;
constexpr std::uint32_t kNoNotify = 0x0080;
constexpr std::uint32_t kReturnCmd = 0x0100;
}  // namespace tpm
constexpr std::uint32_t kNoDefaultItem = 0xFFFFFFFFu;  // GetMenuDefaultItem: none

// List view column format (LVCFMT_*).
namespace lvcfmt {
constexpr int kLeft = 0;
}

// Wake masks (QS_*), PeekMessageW flags (PM_*) and wait results (WAIT_*).
namespace qs {
constexpr std::uint32_t kSendMessage = 0x0040;
}
namespace pm {
constexpr std::uint32_t kNoRemove = 0x0000;
constexpr std::uint32_t kRemove = 0x0001;
constexpr std::uint32_t kQsSendMessage = qs::kSendMessage << 16;
}  // namespace pm
namespace wait {
constexpr std::uint32_t kObject0 = 0x0000;
constexpr std::uint32_t kTimeout = 0x0102;
}  // namespace wait

// Clipboard formats. Registered formats are 0xC000 and above.
namespace cf {
constexpr std::uint32_t kText = 1;
constexpr std::uint32_t kUnicodeText = 13;
constexpr std::uint32_t kFirstRegistered = 0xC000;
}  // namespace cf

// GlobalAlloc flags.
namespace gmem {
constexpr std::uint32_t kFixed = 0x0000;
constexpr std::uint32_t kMoveable = 0x0002;
constexpr std::uint32_t kDdeShare = 0x2000;
}  // namespace gmem

// Registry results (Win32 error codes), value types and access rights.
namespace reg {
constexpr std::int32_t kSuccess = 0;            // ERROR_SUCCESS
constexpr std::int32_t kFileNotFound = 2;       // ERROR_FILE_NOT_FOUND
constexpr std::int32_t kInvalidHandle = 6;      // ERROR_INVALID_HANDLE
constexpr std::int32_t kMoreData = 234;         // ERROR_MORE_DATA
constexpr std::uint32_t kTypeNone = 0;          // REG_NONE
constexpr std::uint32_t kTypeString = 1;        // REG_SZ
constexpr std::uint32_t kTypeExpandString = 2;  // REG_EXPAND_SZ
constexpr std::uint32_t kTypeBinary = 3;        // REG_BINARY
constexpr std::uint32_t kTypeDword = 4;         // REG_DWORD
constexpr std::uint32_t kQueryValue = 0x1;      // KEY_QUERY_VALUE
}  // namespace reg

}  // namespace nimbrel
