#include "base/check.h"

#include <cstring>

#include "sys/sys.h"

namespace {
int g_failures = 0;
// "警告" and "エラーが発生しました。\r\nファイル: %s%s\r\n行番号: %d" in cp932.
const char kCaption[] = "\x8c\x78\x8d\x90";
const char kFormat[] =
    "\x83\x47\x83\x89\x81\x5b\x82\xaa\x94\xad\x90\xb6\x82\xb5\x82\xdc\x82\xb5\x82\xbd\x81\x42"
    "\r\n\x83\x74\x83\x40\x83\x43\x83\x8b: %s%s\r\n\x8d\x73\x94\xd4\x8d\x86: %d";
}  // namespace

void CheckFailed(const char* file, int line) {
    ++g_failures;
    // Split the path into its base name and extension.
    const char* name = file ? file : "";
    for (const char* p = name; *p; ++p)
        if (*p == '/' || *p == '\\') name = p + 1;
    const char* dot = std::strrchr(name, '.');
    TString base, ext;
    if (dot) {
        TString whole(name);
        whole.data()[dot - name] = '\0';
        base = TString(whole.c_str());
        ext = TString(dot);
    } else {
        base = TString(name);
        ext = TString("");
    }
    TString message;
    message.Format(kFormat, base.c_str(), ext.c_str(), line);
    sys::ShowMessageBox(message.c_str(), kCaption, sys::MessageBoxIcon::Exclamation,
                        sys::MessageBoxButtons::Ok, 0);
    sys::PostQuitMessage(1);
}

int CheckFailureCount() {
    return g_failures;
}

int ShowMessageBox(TString text, TString caption, int icon, int buttons, int defaultButton) {
    sys::MessageBoxIcon i = sys::MessageBoxIcon::Information;
    if (icon == 4) i = sys::MessageBoxIcon::Stop;
    if (icon == 5) i = sys::MessageBoxIcon::Question;
    if (icon == 6) i = sys::MessageBoxIcon::Exclamation;
    sys::MessageBoxButtons b = sys::MessageBoxButtons::Ok;
    if (buttons == 1) b = sys::MessageBoxButtons::OkCancel;
    if (buttons == 2) b = sys::MessageBoxButtons::YesNo;
    if (buttons == 3) b = sys::MessageBoxButtons::YesNoCancel;
    int def = (defaultButton >= 1 && defaultButton <= 3) ? defaultButton : 0;
    switch (sys::ShowMessageBox(text.c_str(), caption.c_str(), i, b, def)) {
        case sys::MessageBoxAnswer::Ok:
            return 8;
        case sys::MessageBoxAnswer::Cancel:
            return 9;
        case sys::MessageBoxAnswer::Yes:
            return 10;
        case sys::MessageBoxAnswer::No:
            return 11;
        case sys::MessageBoxAnswer::Abort:
            return 3;
        case sys::MessageBoxAnswer::Retry:
            return 4;
        case sys::MessageBoxAnswer::Ignore:
            return 5;
    }
    return 8;
}
