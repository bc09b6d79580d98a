// The host's function table as a plug-in sees it: events, commands and services through the C table.
#include "hostcore/ServiceBus.h"
#include "support/MessageBoxRecorder.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace {

std::vector<std::string> calls;
void* lastWindow = nullptr;

int First(void*) {
    calls.push_back("first");
    return 0;
}
int Second(void*) {
    calls.push_back("second");
    return 0;
}
int Throws(void*) {
    throw std::runtime_error("чтение не удалось");
}
int ThrowsSomethingElse(void*) {
    throw 42;
}
int RemembersWindow(void* window) {
    lastWindow = window;
    return 0;
}

class Bus : public testing::Test {
protected:
    Bus() { calls.clear(); }
    ServiceBus bus;
    const HostFunctions* table = bus.Table();
    MessageBoxRecorder boxes;
};

} // namespace

TEST_F(Bus, UnknownServicesAreNotFoundAndOfferedOnesGetTheirArguments) {
    EXPECT_EQ(table->CallService("Nobody/Here", 0, nullptr), ServiceNotFound);
    EXPECT_EQ(table->CallService(nullptr, 0, nullptr), ServiceNotFound);
    EXPECT_EQ(table->ServiceExists("Nobody/Here"), 0);

    int value = 0;
    bus.Offer("Test/Add", [](intptr_t first, void* second) -> HostResult {
        *static_cast<int*>(second) += static_cast<int>(first);
        return 7;
    });
    EXPECT_EQ(table->ServiceExists("Test/Add"), 1);
    EXPECT_EQ(table->CallService("Test/Add", 5, &value), 7);
    EXPECT_EQ(value, 5);
}

TEST_F(Bus, ServiceThatThrowsAnswersZeroAndIsShown) {
    bus.Offer("Test/Fails", [](intptr_t, void*) -> HostResult { throw std::runtime_error("нет места"); });
    EXPECT_EQ(table->CallService("Test/Fails", 0, nullptr), 0);
    EXPECT_EQ(boxes.Texts(),
              std::vector<std::u16string>{
                  u"Ошибка в сервисе \"Test/Fails\": нет места\nВызов вернул 0, хост продолжает работу."});
}

TEST_F(Bus, EventRunsItsHandlersInOrderUntilUnsubscribed) {
    const uint32_t first = table->Subscribe("System/ModulesLoaded", &First);
    const uint32_t second = table->Subscribe("System/ModulesLoaded", &Second);
    table->Subscribe("Other/Event", &Throws);
    EXPECT_NE(first, 0u);
    EXPECT_NE(first, second);

    EXPECT_EQ(bus.Fire("System/ModulesLoaded"), 2);
    EXPECT_EQ(calls, (std::vector<std::string>{"first", "second"}));

    table->Unsubscribe(first);
    table->Unsubscribe(0);     // never handed out: ignored
    table->Unsubscribe(12345); // unknown: ignored
    calls.clear();
    EXPECT_EQ(bus.Fire("System/ModulesLoaded"), 1);
    EXPECT_EQ(calls, std::vector<std::string>{"second"});
    EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(Bus, CommandGetsTheWindowAndAFailingOneLeavesTheHostRunning) {
    int window = 0;
    const uint32_t handle = table->RegisterCommand("test/Window", &RemembersWindow);
    EXPECT_TRUE(bus.HasCommand("test/Window"));
    EXPECT_TRUE(bus.RunCommand("test/Window", &window));
    EXPECT_EQ(lastWindow, &window);

    table->RegisterCommand("test/Throws", &Throws);
    table->RegisterCommand("test/ThrowsInt", &ThrowsSomethingElse);
    EXPECT_TRUE(bus.RunCommand("test/Throws", nullptr));
    EXPECT_TRUE(bus.RunCommand("test/ThrowsInt", nullptr));
    EXPECT_EQ(boxes.Texts(),
              (std::vector<std::u16string>{
                  u"Ошибка в команде \"test/Throws\": чтение не удалось\nХост продолжает работу.",
                  u"Ошибка в команде \"test/ThrowsInt\": непредвиденная ошибка\nХост продолжает работу."}));
    EXPECT_EQ(boxes.boxes[0].caption, u"Veltra");

    table->UnregisterCommand(handle);
    EXPECT_FALSE(bus.HasCommand("test/Window"));
    EXPECT_FALSE(bus.RunCommand("test/Window", &window));
}

TEST_F(Bus, CommandRegisteredLastUnderANameRunsAndChangesAreAnnounced) {
    int changes = 0;
    bus.commandsChanged = [&changes] { ++changes; };
    table->RegisterCommand("test/Same", &First);
    const uint32_t later = table->RegisterCommand("test/Same", &Second);
    bus.RunCommand("test/Same", nullptr);
    table->UnregisterCommand(later);
    bus.RunCommand("test/Same", nullptr);
    EXPECT_EQ(calls, (std::vector<std::string>{"second", "first"}));
    EXPECT_EQ(changes, 3);
}
