// cp932 <-> UTF-8 through glibc's iconv. Texts are cp932 everywhere inside the game; these
// conversions run only at the edges (paths, window titles, message boxes, logs, JSON).
#include <iconv.h>

#include <cerrno>
#include <mutex>

#include "sys/sys.h"

namespace sys {
namespace {

bool IsAscii(const std::string& s) {
    for (unsigned char c : s)
        if (c >= 0x80) return false;
    return true;
}

std::string Convert(const char* to, const char* from, const std::string& in) {
    if (IsAscii(in)) return in;
    iconv_t cd = iconv_open(to, from);
    if (cd == (iconv_t)-1) return in;
    std::string out;
    out.resize(in.size() * 4 + 8);
    char* src = const_cast<char*>(in.data());
    size_t srcLeft = in.size();
    char* dst = &out[0];
    size_t dstLeft = out.size();
    while (srcLeft > 0) {
        size_t r = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
        if (r != (size_t)-1) break;
        if (errno == E2BIG) {
            size_t used = out.size() - dstLeft;
            out.resize(out.size() * 2);
            dst = &out[used];
            dstLeft = out.size() - used;
            continue;
        }
        // An invalid or truncated sequence: write '?' and skip one byte.
        if (dstLeft == 0) {
            size_t used = out.size();
            out.resize(out.size() * 2);
            dst = &out[used];
            dstLeft = out.size() - used;
        }
        *dst++ = '?';
        --dstLeft;
        ++src;
        --srcLeft;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
    out.resize(out.size() - dstLeft);
    iconv_close(cd);
    return out;
}

}  // namespace

std::string Cp932ToUtf8(const std::string& cp932) {
    return Convert("UTF-8", "CP932", cp932);
}
std::string Utf8ToCp932(const std::string& utf8) {
    return Convert("CP932", "UTF-8", utf8);
}

}  // namespace sys
