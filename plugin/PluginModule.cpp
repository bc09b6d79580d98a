// The plug-in module: the host library's entry points, with the dialog layer behind the menu command.
#include "host/PluginInfo.h"
