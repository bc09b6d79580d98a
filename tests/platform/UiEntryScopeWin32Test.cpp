// This test program carries the library's manifest as its resource 2, as atmocalc.dll does, and no
// manifest of its own: outside a scope nothing redirects the common controls, inside one the library's
// context sends their library and window classes to version 6.
#include "platform/ui/UiEntryScope.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace {

// Whether the active activation context redirects the name in the section.
bool Redirected(ULONG section, const wchar_t* name) {
    ACTCTX_SECTION_KEYED_DATA data{};
    data.cbSize = sizeof data;
    return FindActCtxSectionStringW(0, nullptr, section, name, &data);
}

bool CommonControlsSix() {
    return Redirected(ACTIVATION_CONTEXT_SECTION_DLL_REDIRECTION, L"comctl32.dll") &&
           Redirected(ACTIVATION_CONTEXT_SECTION_WINDOW_CLASS_REDIRECTION, L"SysListView32");
}

} // namespace

TEST(UiEntryScopeWin32, TheLibrarysManifestGivesCommonControlsSixWhileAScopeLives) {
    EXPECT_FALSE(CommonControlsSix());
    {
        const UiEntryScope scope;
        ASSERT_TRUE(scope.Active());
        EXPECT_TRUE(CommonControlsSix());
        {
            const UiEntryScope nested; // a message box from inside a command
            EXPECT_TRUE(nested.Active());
            EXPECT_TRUE(CommonControlsSix());
        }
        EXPECT_TRUE(CommonControlsSix());
    }
    EXPECT_FALSE(CommonControlsSix());
}
