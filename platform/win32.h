// The Win32 names the viewer is written against.
//
// On Windows this is <windows.h>. Elsewhere it declares our own subset with
// the same names, types, constant values and structure layouts as the
// 64-bit Windows headers, implemented over FLTK 1.3 (X11/GLX) in
// platform/linux/ (window.h there gives the nominal frame).
//
// Provided: what the viewer, the tools and the benchmark call, and the
// window title for programs that show what they run:
//   windows   RegisterClassA, CreateWindowExA, DestroyWindow, DefWindowProcA
//             (WM_CLOSE destroys), GetClientRect, SetWindowTextA, LoadIconA,
//             LoadCursorA, GetStockObject
//   messages  PeekMessageA (no filter, PM_REMOVE), TranslateMessage,
//             DispatchMessageA, PostMessageA, PostQuitMessage
//   menus     CreateMenu, AppendMenuA, SetMenu (once), GetMenu,
//             GetMenuItemInfoA, SetMenuItemInfoA (MIIM_STATE by command id)
//   GDI, WGL  GetDC, ReleaseDC, ChoosePixelFormat, SetPixelFormat (the one
//             format: double-buffered RGBA, 8 bits a channel, with depth),
//             SwapBuffers, wglCreateContext, wglMakeCurrent, wglDeleteContext
//   time      GetTickCount, QueryPerformanceFrequency, QueryPerformanceCounter
//   entry     __argc and __argv, the command line, set before WinMain
//
// Kept as on Windows, for what users feel: the queue's order (posted
// messages, WM_QUIT, input) and its merging of input not taken yet (moves,
// auto-repeats; wheel turns stay apart), WM_SETFOCUS / WM_KILLFOCUS with the
// X focus, keys by their place where the symbol gives no code, WM_SIZE.
//
// Left out on purpose: every key but letters, digits, Escape and Alt (the
// others send nothing: the viewer reacts to none), the middle and right
// buttons, modifier flags but MK_LBUTTON, WM_CREATE and the destruction
// messages, PeekMessageA's filters and PM_NOREMOVE (such calls fail), W
// calls, GetMessage and any blocking wait, WM_PAINT and GDI drawing, WM_CHAR,
// sending WM_SYSKEYDOWN / WM_SYSKEYUP (keys pressed with Alt come as
// WM_KEYDOWN / WM_KEYUP), SIZE_MAXIMIZED, activation, mouse capture, child
// windows, showing a window later (only WS_VISIBLE shows one), alpha and
// stencil bits, menu items by position, grayed items, '@' in labels (the
// toolkit draws a symbol), removing or destroying menus, other
// MENUITEMINFOA masks.
#pragma once

#ifdef _WIN32
#include <windows.h>
#else

#include <cstddef>
#include <cstdint>

// x86_64 has one calling convention: the markers keep the declarations as
// Windows writes them. GL headers define APIENTRY too, empty, when first.
#define WINAPI
#define CALLBACK
#ifndef APIENTRY
#define APIENTRY
#endif

#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif

// Windows is LLP64: LONG and DWORD stay 32 bits wide while pointers and the
// *_PTR types are 64 bits wide.
typedef int BOOL;
typedef unsigned char BYTE;
typedef unsigned short WORD;
typedef uint32_t DWORD;
typedef int32_t LONG;
typedef unsigned int UINT;
typedef int64_t LONGLONG;
typedef WORD ATOM;
typedef char* LPSTR;
typedef const char* LPCSTR;
typedef void* LPVOID;
typedef uintptr_t UINT_PTR, ULONG_PTR, DWORD_PTR;
typedef intptr_t LONG_PTR;
typedef UINT_PTR WPARAM;
typedef LONG_PTR LPARAM, LRESULT;

// Distinct opaque pointer types per handle kind, as with STRICT on Windows.
#define VERRINE_DECLARE_HANDLE(name) \
    struct name##__;                 \
    typedef struct name##__* name
VERRINE_DECLARE_HANDLE(HINSTANCE);
VERRINE_DECLARE_HANDLE(HWND);
VERRINE_DECLARE_HANDLE(HDC);
VERRINE_DECLARE_HANDLE(HGLRC);
VERRINE_DECLARE_HANDLE(HMENU);
VERRINE_DECLARE_HANDLE(HICON);
VERRINE_DECLARE_HANDLE(HBRUSH);
VERRINE_DECLARE_HANDLE(HBITMAP);
#undef VERRINE_DECLARE_HANDLE
typedef HICON HCURSOR;
typedef void* HGDIOBJ;

typedef union _LARGE_INTEGER {
    struct {
        DWORD LowPart;
        LONG HighPart;
    };
    LONGLONG QuadPart;
} LARGE_INTEGER;

typedef struct tagPOINT {
    LONG x, y;
} POINT;

typedef struct tagRECT {
    LONG left, top, right, bottom;
} RECT, *LPRECT;

typedef struct tagMSG {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    DWORD time;
    POINT pt;
} MSG, *LPMSG;

typedef LRESULT(CALLBACK* WNDPROC)(HWND, UINT, WPARAM, LPARAM);

typedef struct tagWNDCLASSA {
    UINT style;
    WNDPROC lpfnWndProc;
    int cbClsExtra, cbWndExtra;
    HINSTANCE hInstance;
    HICON hIcon;
    HCURSOR hCursor;
    HBRUSH hbrBackground;
    LPCSTR lpszMenuName, lpszClassName;
} WNDCLASSA;

typedef struct tagPIXELFORMATDESCRIPTOR {
    WORD nSize, nVersion;
    DWORD dwFlags;
    BYTE iPixelType, cColorBits;
    BYTE cRedBits, cRedShift, cGreenBits, cGreenShift, cBlueBits, cBlueShift, cAlphaBits, cAlphaShift;
    BYTE cAccumBits, cAccumRedBits, cAccumGreenBits, cAccumBlueBits, cAccumAlphaBits;
    BYTE cDepthBits, cStencilBits, cAuxBuffers, iLayerType, bReserved;
    DWORD dwLayerMask, dwVisibleMask, dwDamageMask;
} PIXELFORMATDESCRIPTOR;

typedef struct tagMENUITEMINFOA {
    UINT cbSize, fMask, fType, fState, wID;
    HMENU hSubMenu;
    HBITMAP hbmpChecked, hbmpUnchecked;
    ULONG_PTR dwItemData;
    LPSTR dwTypeData;
    UINT cch;
    HBITMAP hbmpItem;
} MENUITEMINFOA, *LPMENUITEMINFOA;
typedef const MENUITEMINFOA* LPCMENUITEMINFOA;

// The sizes 64-bit Windows has; callers pass sizeof as cbSize / nSize.
static_assert(sizeof(MSG) == 48, "MSG layout differs from 64-bit Windows");
static_assert(sizeof(PIXELFORMATDESCRIPTOR) == 40, "PIXELFORMATDESCRIPTOR layout differs");
static_assert(sizeof(MENUITEMINFOA) == 80, "MENUITEMINFOA layout differs from 64-bit Windows");

#define LOWORD(l) ((WORD)(((DWORD_PTR)(l)) & 0xffff))
#define HIWORD(l) ((WORD)((((DWORD_PTR)(l)) >> 16) & 0xffff))
#define MAKELONG(a, b) \
    ((LONG)(((WORD)(((DWORD_PTR)(a)) & 0xffff)) | ((DWORD)((WORD)(((DWORD_PTR)(b)) & 0xffff))) << 16))
#define MAKEWPARAM(l, h) ((WPARAM)(DWORD)MAKELONG(l, h))
#define MAKELPARAM(l, h) ((LPARAM)(DWORD)MAKELONG(l, h))
#define MAKEINTRESOURCEA(i) ((LPSTR)((ULONG_PTR)((WORD)(i))))
#define IDI_APPLICATION MAKEINTRESOURCEA(32512)
#define IDC_ARROW MAKEINTRESOURCEA(32512)

// Messages. Those the layer sends that the viewer does not handle:
// WM_SETFOCUS (the keyboard focus, which WM_KILLFOCUS takes away) and the
// left button's press and release, which keep the moves around them apart
// when the queue merges moves.
#define WM_SIZE 0x0005
#define WM_SETFOCUS 0x0007
#define WM_KILLFOCUS 0x0008
#define WM_CLOSE 0x0010
#define WM_QUIT 0x0012
#define WM_KEYDOWN 0x0100
#define WM_KEYUP 0x0101
#define WM_SYSKEYUP 0x0105
#define WM_COMMAND 0x0111
#define WM_MOUSEMOVE 0x0200
#define WM_LBUTTONDOWN 0x0201
#define WM_LBUTTONUP 0x0202
#define WM_MOUSEWHEEL 0x020A

#define WHEEL_DELTA 120
#define MK_LBUTTON 0x0001

// WM_SIZE kinds (wParam): a minimised window reports an empty client area.
#define SIZE_RESTORED 0
#define SIZE_MINIMIZED 1

#define CS_OWNDC 0x0020
#define WS_VISIBLE 0x10000000
// Caption, system menu, sizing frame, minimise and maximise boxes.
#define WS_OVERLAPPEDWINDOW 0x00CF0000

#define BLACK_BRUSH 4

// Pixel format descriptor.
#define PFD_TYPE_RGBA 0
#define PFD_MAIN_PLANE 0
#define PFD_DOUBLEBUFFER 0x00000001
#define PFD_DRAW_TO_WINDOW 0x00000004
#define PFD_SUPPORT_OPENGL 0x00000020

#define PM_REMOVE 0x0001

// Menus.
#define MF_STRING 0x00000000
#define MF_CHECKED 0x00000008
#define MF_POPUP 0x00000010
#define MIIM_STATE 0x00000001
#define MFS_CHECKED MF_CHECKED

// Virtual-key codes. Letters and top-row digits have none: they are their
// upper-case ASCII codes, 'A'..'Z' (65..90) and '0'..'9' (48..57). Alt has
// one so that its release, like any key's, reaches the window procedure,
// which brings the menu check marks in line after every key release.
#define VK_MENU 0x12
#define VK_ESCAPE 0x1B

extern "C" {

// Windows.
ATOM WINAPI RegisterClassA(const WNDCLASSA* windowClass);
HWND WINAPI CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style,
                            int x, int y, int width, int height, HWND parent, HMENU menu,
                            HINSTANCE instance, LPVOID param);
BOOL WINAPI DestroyWindow(HWND window);
LRESULT WINAPI DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
BOOL WINAPI GetClientRect(HWND window, LPRECT rect);
BOOL WINAPI SetWindowTextA(HWND window, LPCSTR text);
HICON WINAPI LoadIconA(HINSTANCE instance, LPCSTR name);
HCURSOR WINAPI LoadCursorA(HINSTANCE instance, LPCSTR name);
HGDIOBJ WINAPI GetStockObject(int object);

// Messages. PostMessageA is how a chosen menu item reaches the queue.
BOOL WINAPI PeekMessageA(LPMSG msg, HWND window, UINT filterMin, UINT filterMax, UINT removeMsg);
BOOL WINAPI TranslateMessage(const MSG* msg);
LRESULT WINAPI DispatchMessageA(const MSG* msg);
BOOL WINAPI PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void WINAPI PostQuitMessage(int exitCode);

// Menus.
HMENU WINAPI CreateMenu(void);
BOOL WINAPI AppendMenuA(HMENU menu, UINT flags, UINT_PTR idNewItem, LPCSTR newItem);
BOOL WINAPI SetMenu(HWND window, HMENU menu);
HMENU WINAPI GetMenu(HWND window);
BOOL WINAPI GetMenuItemInfoA(HMENU menu, UINT item, BOOL byPosition, LPMENUITEMINFOA info);
BOOL WINAPI SetMenuItemInfoA(HMENU menu, UINT item, BOOL byPosition, LPCMENUITEMINFOA info);

// GDI and WGL.
HDC WINAPI GetDC(HWND window);
int WINAPI ReleaseDC(HWND window, HDC deviceContext);
int WINAPI ChoosePixelFormat(HDC deviceContext, const PIXELFORMATDESCRIPTOR* descriptor);
BOOL WINAPI SetPixelFormat(HDC deviceContext, int format, const PIXELFORMATDESCRIPTOR* descriptor);
BOOL WINAPI SwapBuffers(HDC deviceContext);
HGLRC WINAPI wglCreateContext(HDC deviceContext);
BOOL WINAPI wglMakeCurrent(HDC deviceContext, HGLRC context);
BOOL WINAPI wglDeleteContext(HGLRC context);

// Time.
DWORD WINAPI GetTickCount(void);
BOOL WINAPI QueryPerformanceFrequency(LARGE_INTEGER* frequency);
BOOL WINAPI QueryPerformanceCounter(LARGE_INTEGER* count);

// Defined by the viewer; the process entry point calls it.
int WINAPI WinMain(HINSTANCE instance, HINSTANCE previousInstance, LPSTR commandLine, int showCommand);

// The program's name and arguments, as the Windows C runtime keeps them
// (<stdlib.h> there); set by the entry point before WinMain. WinMain's own
// command line stays empty.
extern int __argc;
extern char** __argv;

}  // extern "C"

#endif  // _WIN32
