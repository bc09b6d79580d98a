#include "platform/xml/ComInit.h"
#include "platform/xml/XmlDocument.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

bool IsInitialised(APTTYPE expected) {
    APTTYPE type = expected == APTTYPE_STA ? APTTYPE_MTA : APTTYPE_STA;
    return SUCCEEDED(CoGetApartmentType(&type)) && type == expected;
}

bool IsUninitialised() {
    APTTYPE type;
    return CoGetApartmentType(&type) == CO_E_NOTINITIALIZED;
}

} // namespace

TEST(ComInit, CountsInitialisationsInTheSameModel) {
    ASSERT_TRUE(IsUninitialised());
    EXPECT_EQ(CoInitialize(), S_OK);
    EXPECT_EQ(CoInitialize(), S_FALSE);
    EXPECT_EQ(CoInitializeEx(COINIT_APARTMENTTHREADED), S_FALSE);
    EXPECT_TRUE(IsInitialised(APTTYPE_STA));
    CoUninitialize();
    CoUninitialize();
    EXPECT_TRUE(IsInitialised(APTTYPE_STA));
    CoUninitialize();
    EXPECT_TRUE(IsUninitialised());
    CoUninitialize(); // one too many does nothing
    EXPECT_EQ(CoInitialize(), S_OK);
    CoUninitialize();
}

TEST(ComInit, OtherModelFailsAndLeavesTheStateUntouched) {
    ASSERT_EQ(CoInitializeEx(COINIT_MULTITHREADED), S_OK);
    EXPECT_EQ(CoInitialize(), RPC_E_CHANGED_MODE);
    EXPECT_TRUE(IsInitialised(APTTYPE_MTA));
    CoUninitialize(); // balances the one success only
    EXPECT_TRUE(IsUninitialised());
}

TEST(ComInit, EachThreadHasItsOwnState) {
    ASSERT_EQ(CoInitialize(), S_OK);
    HRESULT otherThread = E_FAIL;
    bool otherStartedUninitialised = false;
    std::thread([&] {
        otherStartedUninitialised = IsUninitialised();
        otherThread = CoInitializeEx(COINIT_MULTITHREADED);
        CoUninitialize();
    }).join();
    EXPECT_TRUE(otherStartedUninitialised);
    EXPECT_EQ(otherThread, S_OK);
    EXPECT_TRUE(IsInitialised(APTTYPE_STA));
    CoUninitialize();
}

TEST(ComInit, DocumentsNeedAnInitialisedThread) {
    std::unique_ptr<XmlDocument> document;
    EXPECT_EQ(CreateXmlDocument(&document), CO_E_NOTINITIALIZED);
    EXPECT_FALSE(document);
    ASSERT_EQ(CoInitialize(), S_OK);
    EXPECT_EQ(CreateXmlDocument(&document), S_OK);
    EXPECT_TRUE(document);
    CoUninitialize();
}
