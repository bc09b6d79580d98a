// The helper's answer to memory running out: it ends at once, before anything can go on with a missing
// piece of a document or a text.
#pragma once

// Makes every failed allocation of libxml2, libxslt and the C++ library end the program with
// kHelperOutOfMemory. Called first, before the libraries allocate anything.
void ExitOnAllocationFailure();
