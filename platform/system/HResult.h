// Result codes in the style of the platform the texts were written for: 32-bit, negative on failure.
// The codes of file and memory failures carry the system's error number in their low 16 bits, in the
// facility that holds system errors, so that their message text is the system's own. The system's error
// number is an errno value, or on Windows the error code GetLastError gives; the layers return it as
// such wherever they say "the system error number".
#pragma once

#include <cerrno>
#include <cstdint>

// The type the Windows headers give it too, so that both can be seen in one file.
#ifdef _WIN32
using HRESULT = long;
#else
using HRESULT = int32_t;
#endif

inline constexpr bool SUCCEEDED(HRESULT hr) {
    return hr >= 0;
}
inline constexpr bool FAILED(HRESULT hr) {
    return hr < 0;
}

// The code that carries a system error number.
inline constexpr HRESULT HResultFromErrno(int error) {
    return static_cast<HRESULT>(0x80070000u | (static_cast<uint32_t>(error) & 0xFFFFu));
}
// The system error number a code carries, or 0 when it carries none.
inline constexpr int ErrnoFromHResult(HRESULT hr) {
    return (static_cast<uint32_t>(hr) & 0xFFFF0000u) == 0x80070000u ? static_cast<int>(hr & 0xFFFF) : 0;
}

inline constexpr HRESULT S_OK = 0;
inline constexpr HRESULT S_FALSE = 1;
inline constexpr HRESULT E_FAIL = static_cast<HRESULT>(0x80004005u);
#ifdef _WIN32
inline constexpr HRESULT E_OUTOFMEMORY = HResultFromErrno(14); // ERROR_OUTOFMEMORY
inline constexpr HRESULT E_INVALIDARG = HResultFromErrno(87);  // ERROR_INVALID_PARAMETER
#else
inline constexpr HRESULT E_OUTOFMEMORY = HResultFromErrno(ENOMEM);
inline constexpr HRESULT E_INVALIDARG = HResultFromErrno(EINVAL);
#endif
inline constexpr HRESULT RPC_E_CHANGED_MODE = static_cast<HRESULT>(0x80010106u);
inline constexpr HRESULT CO_E_NOTINITIALIZED = static_cast<HRESULT>(0x800401F0u);

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
