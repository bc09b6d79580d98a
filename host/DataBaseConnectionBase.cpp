#include "DataBaseConnectionBase.h"

#include <mutex>

namespace {
std::mutex instanceMutex;
DataBaseConnectionBase* instance = nullptr;
} // namespace

DataBaseConnectionBase* DataBaseConnectionBase::Instance() {
    std::lock_guard lock(instanceMutex);
    if (!instance)
        instance = new DataBaseConnectionBase();
    return instance;
}

// Unload takes no lock: the host calls it when nothing else of the plug-in runs.
void DataBaseConnectionBase::DeleteInstance() {
    delete instance;
    instance = nullptr;
}

bool DataBaseConnectionBase::Exists() { return instance != nullptr; }
