// Result codes in the style of the platform the texts were written for: 32-bit, negative on failure.
// The codes of file and memory failures carry the system's error number in their low 16 bits, in the
// facility that holds system errors, so that their message text is the system's own. The system's error
// number is an errno value, or on Windows the error code GetLastError gives; the layers return it as
// such wherever they say "the system error number".
#pragma once

#include <cerrno>
#include <cstdint>

#ifdef _WIN32
// The system's own codes and tests, which its headers give every file that includes them too.
#include <winerror.h>
using HRESULT = long; // as the system's headers have it
#else
using HRESULT = int32_t;

inline constexpr bool SUCCEEDED(HRESULT hr) {
    return hr >= 0;
}
inline constexpr bool FAILED(HRESULT hr) {
    return hr < 0;
}
#endif

// The code that carries a system error number.
inline constexpr HRESULT HResultFromErrno(int error) {
    return static_cast<HRESULT>(0x80070000u | (static_cast<uint32_t>(error) & 0xFFFFu));
}
// The system error number a code carries, or 0 when it carries none.
inline constexpr int ErrnoFromHResult(HRESULT hr) {
    return (static_cast<uint32_t>(hr) & 0xFFFF0000u) == 0x80070000u ? static_cast<int>(hr & 0xFFFF) : 0;
}

#ifndef _WIN32
// The values of the system the texts were written for, whose error number of "not enough memory" and
// "invalid argument" is the errno value here.
inline constexpr HRESULT S_OK = 0;
inline constexpr HRESULT S_FALSE = 1;
inline constexpr HRESULT E_FAIL = static_cast<HRESULT>(0x80004005u);
inline constexpr HRESULT E_OUTOFMEMORY = HResultFromErrno(ENOMEM);
inline constexpr HRESULT E_INVALIDARG = HResultFromErrno(EINVAL);
inline constexpr HRESULT RPC_E_CHANGED_MODE = static_cast<HRESULT>(0x80010106u);
inline constexpr HRESULT CO_E_NOTINITIALIZED = static_cast<HRESULT>(0x800401F0u);
#endif

// The XML document layer's own failures.
inline constexpr HRESULT XML_E_NOTLOADED = static_cast<HRESULT>(0x80040301u);  // the document is empty
inline constexpr HRESULT XML_E_STYLESHEET = static_cast<HRESULT>(0x80040302u); // not a valid stylesheet
inline constexpr HRESULT XML_E_TRANSFORM = static_cast<HRESULT>(0x80040303u);  // failed while running
inline constexpr HRESULT XML_E_FORBIDDEN =
    static_cast<HRESULT>(0x80040304u); // tried to reach a file or the network
inline constexpr HRESULT XML_E_LIMIT = static_cast<HRESULT>(0x80040305u); // exceeded its depth or work limit
// A transformation run apart from the caller's process, beyond what its program could tell.
inline constexpr HRESULT XML_E_MEMORY = static_cast<HRESULT>(0x80040306u);  // needed more memory than allowed
inline constexpr HRESULT XML_E_TIMEOUT = static_cast<HRESULT>(0x80040307u); // ran longer than allowed
inline constexpr HRESULT XML_E_ABORTED = static_cast<HRESULT>(0x80040308u); // its program ended abnormally
