// A complete, realistic demo installation: the host database, assay files with detector signals and
// peak tables, and the delivered component table and report template under a public folder.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

struct DemoInstallation {
    std::filesystem::path database;                // DIR/host.db
    std::vector<std::filesystem::path> assayFiles; // DIR/assays/*.stg
    std::filesystem::path publicFolder;            // DIR/public (the PUBLIC the folder rules need)
    std::filesystem::path componentTable;
    std::filesystem::path reportTemplate;
    std::vector<uint32_t> visibleIds; // the assays a picker offers, in id order
};

// Writes the installation into `folder` (created if missing). Throws std::runtime_error with a message
// naming the file that could not be written.
DemoInstallation WriteDemoInstallation(const std::filesystem::path& folder);

// The path in UTF-8, as the database and the output take it (string() gives the ANSI code page on
// Windows).
std::string PathText(const std::filesystem::path& path);
