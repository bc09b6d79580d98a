// The failures the report stages raise and turn into their error boxes.
#pragma once

#include "platform/system/HResult.h"

#include <stdexcept>

// A failure with its English technical text.
class ReportFailure : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A document call that returned a failure code.
class ComError : public std::runtime_error {
public:
    explicit ComError(HRESULT code) : std::runtime_error("COM error"), code(code) {}
    HRESULT Error() const { return code; }

private:
    HRESULT code;
};
