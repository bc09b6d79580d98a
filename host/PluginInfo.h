/* The plug-in information record and the three exported entry points. */
#ifndef ATMOCALC_PLUGIN_INFO_H
#define ATMOCALC_PLUGIN_INFO_H

#include "host/HostFunctions.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef struct PluginGuid {
    uint32_t data1;
    uint16_t data2;
    uint16_t data3;
    uint8_t data4[8];
} PluginGuid;

/* 48 bytes on a 32-bit build; `size` holds the record's real size. */
typedef struct PluginInfo {
    uint32_t size;
    const char16_t* name;     /* "atmocalc" */
    uint32_t version;         /* one byte per part, major in the highest byte: 0x01000200 */
    const char16_t* title;
    const char16_t* company;
    const char16_t* email;
    const char16_t* rights;
    const char16_t* web;
    PluginGuid id;
} PluginInfo;

#define ATMOCALC_EXPORT __attribute__((visibility("default")))

/* The constant information record; may be called at any time, before Load too. */
ATMOCALC_EXPORT const PluginInfo* GetPluginInfo(void);
/* Keeps the host table and subscribes to "System/ModulesLoaded"; always 0. */
ATMOCALC_EXPORT int Load(const HostFunctions* host);
/* Unsubscribes, unregisters the command and deletes the database singleton; always 0. */
ATMOCALC_EXPORT int Unload(void);

#ifdef __cplusplus
} /* extern "C" */

static_assert(sizeof(PluginGuid) == 16);
#if UINTPTR_MAX == 0xFFFFFFFFu
static_assert(sizeof(PluginInfo) == 48);
static_assert(offsetof(PluginInfo, id) == 32);
#endif
#endif

#endif
