// The Unicode text functions and the collation registered on every database connection.
#pragma once

struct sqlite3;

// Registers the SQL functions "unicode_version", "like" (pattern, text[, escape]), "fold", "lower",
// "upper", "title" and "unaccent", and the collation "NOCASE" for UTF-8 and for UTF-16 text, replacing
// SQLite's own functions and collation of those names. A failed function registration leaves the
// functions after it unregistered, and a failed UTF-8 registration of the collation is ignored: returns
// the result code of the collation's UTF-16 registration.
int RegisterTextFunctions(sqlite3* connection);
