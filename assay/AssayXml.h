// The XML part of an assay file: the document around the passport and the peak table of each channel.
#pragma once

#include "assay/VeltraFile4.h"

#include <cstdio>
#include <list>

// Parses the UTF-8 text in place (whatever its declaration says; the text is modified) and reads the
// passport and the peak tables from the document element "root" into the given members; a document
// element of another name gives none of them. False on a parse error; then nothing changes.
bool ReadAssayXml(char* text, size_t size, AssayPassport& passport, std::list<AssayChannel>& channels);
// True when every channel's peaks can be written so that they read back: the peaks of a number go to
// the first channel of that number, so a later channel with the same number must have none.
bool PeakTablesWritable(const std::list<AssayChannel>& channels);
// Writes the XML part to the file as UTF-8 without byte-order mark, indentation or line breaks.
// False when the stream reports a write error.
bool WriteAssayXml(std::FILE* file, const AssayPassport& passport, const std::list<AssayChannel>& channels);
