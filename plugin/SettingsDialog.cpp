#include "SettingsDialog.h"

#include <windows.h>

#include <vector>

#include "DialogIds.h"
#include "PreviewPicture.h"

namespace relief {

const wchar_t kResultGreyText[] = L"Grey relief";
const wchar_t kResultColoursText[] = L"Relief over the colours";

namespace {

struct DialogState {
  ReliefSettings settings;  // the last valid settings shown
  bool filling;             // the controls are being set: their notifications are not the user's
  std::vector<uint8_t> picture;
  std::vector<uint8_t> shown;  // the preview, interleaved RGB
  DisplayPixelsProc display;   // the host's way of drawing pixels, when it offers one
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

void Render(HWND dialog, DialogState* state) {
  state->shown = RenderPreview(state->picture, state->settings);
  InvalidateRect(GetDlgItem(dialog, IDC_PREVIEW), nullptr, FALSE);
}

// Through the host, which draws it as it draws the image (its colour
// management included), unscaled in the middle of the preview's frame.
bool DrawThroughHost(const DRAWITEMSTRUCT* item, DialogState* state) {
  if (!state->display) return false;
  const RECT& r = item->rcItem;
  FillRect(item->hDC, &r, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
  PixelMapView map{1, VRectView{0, 0, kPreviewHeight, kPreviewWidth}, kModeRgb, kPreviewWidth * 3, 3, 1,
                   state->shown.data(), nullptr, nullptr, 0, 0};
  const VRectView whole = map.bounds;
  const int32_t row = r.top + (r.bottom - r.top - kPreviewHeight) / 2;
  const int32_t column = r.left + (r.right - r.left - kPreviewWidth) / 2;
  return state->display(&map, &whole, row, column, item->hDC) == 0;
}

void DrawPreview(const DRAWITEMSTRUCT* item, DialogState* state) {
  const RECT& r = item->rcItem;
  if (state->shown.size() != std::size_t(kPreviewWidth) * kPreviewHeight * 3) {
    FillRect(item->hDC, &r, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    return;
  }
  if (DrawThroughHost(item, state)) return;
  // The host offers no drawing, or it failed: our own, scaled to the frame.
  const std::vector<uint8_t> bgrx = ToBgrx(state->shown);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = kPreviewWidth;
  info.bmiHeader.biHeight = -kPreviewHeight;  // top row first
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  SetStretchBltMode(item->hDC, HALFTONE);
  StretchDIBits(item->hDC, r.left, r.top, r.right - r.left, r.bottom - r.top, 0, 0, kPreviewWidth, kPreviewHeight,
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

int16_t RunSettingsDialog(const FilterRecordView* record, ReliefSettings* settings) {
  HWND owner = nullptr;
  if (record && record->platformData) {
    owner = reinterpret_cast<HWND>(static_cast<const PlatformDataView*>(record->platformData)->hwnd);
  }
  DialogState state{*settings, false, PreviewPicture(), {},
                    record ? reinterpret_cast<DisplayPixelsProc>(record->displayPixels) : nullptr};
  const INT_PTR answer = DialogBoxParamW(ThisModule(), MAKEINTRESOURCEW(IDD_SETTINGS), owner, DialogProc,
                                         reinterpret_cast<LPARAM>(&state));
  if (answer != IDOK) return kResultUserCancelled;
  *settings = state.settings;
  return kResultOk;
}

}  // namespace relief
