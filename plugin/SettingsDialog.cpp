#include "SettingsDialog.h"

#include <windows.h>

#include "DialogIds.h"
#include "PreviewPicture.h"

namespace relief {

const wchar_t kResultGreyText[] = L"Grey relief";
const wchar_t kResultColoursText[] = L"Relief over the colours";

namespace {

struct DialogState {
  ReliefSettings settings;  // the last valid settings shown
  bool filling;             // the controls are being set: their notifications are not the user's
  Bytes picture;              // the built-in picture, when there is no proxy
  const ImageProxy* proxy;    // the user's image, reduced, or null
  Bytes shown;                // the preview, interleaved RGB, width x height (empty: none)
  int width, height;
  PixelDrawer drawer;  // the host's way of drawing pixels, when it offers one
};

HMODULE ThisModule() {
  HMODULE module = nullptr;
  GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCWSTR>(&ThisModule), &module);
  return module;
}

// The settings the controls hold; false (and the first bad control in
// *bad) when one of them holds no valid value.
bool ReadControls(HWND dialog, ReliefSettings* out, int* bad) {
  BOOL ok = FALSE;
  ReliefSettings s{};
  s.angle = static_cast<int>(GetDlgItemInt(dialog, IDC_ANGLE, &ok, TRUE));
  if (!ok || s.angle < kAngleMin || s.angle > kAngleMax) return *bad = IDC_ANGLE, false;
  s.height = static_cast<int>(GetDlgItemInt(dialog, IDC_HEIGHT, &ok, FALSE));
  if (!ok || s.height < kHeightMin || s.height > kHeightMax) return *bad = IDC_HEIGHT, false;
  s.amount = static_cast<int>(GetDlgItemInt(dialog, IDC_AMOUNT, &ok, FALSE));
  if (!ok || s.amount < kAmountMin || s.amount > kAmountMax) return *bad = IDC_AMOUNT, false;
  const LRESULT choice = SendDlgItemMessageW(dialog, IDC_RESULT, CB_GETCURSEL, 0, 0);
  s.result = choice == 1 ? ReliefResult::kColours : ReliefResult::kGrey;
  *out = s;
  return true;
}

void ShowSettings(HWND dialog, DialogState* state) {
  const ReliefSettings s = state->settings;
  state->filling = true;
  SetDlgItemInt(dialog, IDC_ANGLE, static_cast<UINT>(s.angle), TRUE);
  SetDlgItemInt(dialog, IDC_HEIGHT, static_cast<UINT>(s.height), FALSE);
  SetDlgItemInt(dialog, IDC_AMOUNT, static_cast<UINT>(s.amount), FALSE);
  SendDlgItemMessageW(dialog, IDC_RESULT, CB_SETCURSEL, s.result == ReliefResult::kColours ? 1 : 0, 0);
  state->filling = false;
}

// Short of memory the preview shows nothing until the next change.
void Render(HWND dialog, DialogState* state) {
  if (state->proxy) {
    RenderProxy(*state->proxy, state->settings, &state->shown);
    state->width = state->proxy->width;
    state->height = state->proxy->height;
  } else {
    RenderPreview(state->picture, state->settings, &state->shown);
    state->width = kPreviewWidth;
    state->height = kPreviewHeight;
  }
  InvalidateRect(GetDlgItem(dialog, IDC_PREVIEW), nullptr, FALSE);
}

// Through the host, which draws it as it draws the image (its colour
// management included), unscaled in the middle of the preview's frame.
bool DrawThroughHost(const DRAWITEMSTRUCT* item, DialogState* state) {
  if (!state->drawer.Offered()) return false;
  const RECT& r = item->rcItem;
  FillRect(item->hDC, &r, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
  const int32_t row = r.top + (r.bottom - r.top - state->height) / 2;
  const int32_t column = r.left + (r.right - r.left - state->width) / 2;
  return DrawRgb(state->drawer, state->shown.data(), state->width, state->height, row, column, item->hDC);
}

void DrawPreview(const DRAWITEMSTRUCT* item, DialogState* state) {
  const RECT& r = item->rcItem;
  if (state->width <= 0 || state->height <= 0 || state->shown.size() != std::size_t(state->width) * state->height * 3) {
    FillRect(item->hDC, &r, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    return;
  }
  if (DrawThroughHost(item, state)) return;
  // The host offers no drawing, or it failed: our own, scaled to the frame
  // with the picture's proportions kept.
  Bytes bgrx;
  if (!ToBgrx(state->shown, &bgrx)) {
    FillRect(item->hDC, &r, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    return;
  }
  const int frameW = r.right - r.left, frameH = r.bottom - r.top;
  int w = frameW, h = frameH;
  if (long(state->width) * frameH > long(state->height) * frameW) {
    h = int(long(state->height) * frameW / state->width);
  } else {
    w = int(long(state->width) * frameH / state->height);
  }
  FillRect(item->hDC, &r, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = state->width;
  info.bmiHeader.biHeight = -state->height;  // top row first
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  SetStretchBltMode(item->hDC, HALFTONE);
  StretchDIBits(item->hDC, r.left + (frameW - w) / 2, r.top + (frameH - h) / 2, w, h, 0, 0, state->width, state->height,
                bgrx.data(), &info, DIB_RGB_COLORS, SRCCOPY);
}

INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* state = reinterpret_cast<DialogState*>(GetWindowLongPtrW(dialog, DWLP_USER));
  switch (message) {
    case WM_INITDIALOG: {
      state = reinterpret_cast<DialogState*>(lParam);
      SetWindowLongPtrW(dialog, DWLP_USER, lParam);
      SendDlgItemMessageW(dialog, IDC_ANGLE, EM_SETLIMITTEXT, 4, 0);
      SendDlgItemMessageW(dialog, IDC_HEIGHT, EM_SETLIMITTEXT, 2, 0);
      SendDlgItemMessageW(dialog, IDC_AMOUNT, EM_SETLIMITTEXT, 3, 0);
      SendDlgItemMessageW(dialog, IDC_RESULT, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(kResultGreyText));
      SendDlgItemMessageW(dialog, IDC_RESULT, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(kResultColoursText));
      ShowSettings(dialog, state);
      Render(dialog, state);
      return TRUE;
    }
    case WM_COMMAND: {
      if (!state || state->filling) return FALSE;
      const int id = LOWORD(wParam);
      const int code = HIWORD(wParam);
      if ((code == EN_CHANGE && id != IDC_RESULT) || (code == CBN_SELCHANGE && id == IDC_RESULT)) {
        ReliefSettings read{};
        int bad = 0;
        if (ReadControls(dialog, &read, &bad) && read != state->settings) {
          state->settings = read;
          Render(dialog, state);
        }
        return TRUE;
      }
      if (id == IDOK) {
        ReliefSettings read{};
        int bad = 0;
        if (!ReadControls(dialog, &read, &bad)) {
          // Stays open on the value to put right.
          MessageBeep(MB_ICONWARNING);
          HWND control = GetDlgItem(dialog, bad);
          SendMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
          SendMessageW(control, EM_SETSEL, 0, -1);
          return TRUE;
        }
        state->settings = read;
        EndDialog(dialog, IDOK);
        return TRUE;
      }
      if (id == IDCANCEL) {
        EndDialog(dialog, IDCANCEL);
        return TRUE;
      }
      return FALSE;
    }
    case WM_DRAWITEM:
      if (state && wParam == IDC_PREVIEW) {
        DrawPreview(reinterpret_cast<const DRAWITEMSTRUCT*>(lParam), state);
        return TRUE;
      }
      return FALSE;
    default:
      return FALSE;
  }
}

}  // namespace

int16_t RunSettingsDialog(intptr_t owner, const PixelDrawer& drawer, ReliefSettings* settings,
                          const ImageProxy* proxy) {
  DialogState state{*settings, false, Bytes(), proxy, Bytes(), 0, 0, drawer};
  if (!proxy && !PreviewPicture(&state.picture)) return kResultOutOfMemory;
  const INT_PTR answer = DialogBoxParamW(ThisModule(), MAKEINTRESOURCEW(IDD_SETTINGS), reinterpret_cast<HWND>(owner),
                                         DialogProc, reinterpret_cast<LPARAM>(&state));
  if (answer == -1) return kResultOutOfMemory;  // the dialog could not be made
  if (answer != IDOK) return kResultUserCancelled;
  *settings = state.settings;
  return kResultOk;
}

}  // namespace relief
