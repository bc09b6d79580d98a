// Code page 1251 for libxml2 and libxslt, from platform/text's own table: the documents and templates
// of the system may declare encoding="windows-1251", and the Windows build's libxml2 has no iconv.
#pragma once

// Registers the encoding "windows-1251" with libxml2, once per process; later calls do nothing.
void RegisterCodePage1251Encoding();
