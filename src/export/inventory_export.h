#pragma once
// The desktop program's export: the chosen kinds of export written into one
// folder (the HTML site there, "inventory.csv" and "inventory.json" beside
// its index), with the pictures' progress told as they are drawn.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "core/node_table.h"
#include "core/program_folder.h"

namespace vantrel {

inline constexpr const char* kCsvExportName = "inventory.csv";
inline constexpr const char* kJsonExportName = "inventory.json";

struct InventoryExportRequest {
    std::filesystem::path folder;
    bool html = false, csv = false, json = false;
    std::vector<std::string> nodes;  // empty: every node that is not deleted
    int workers = 1;                 // picture threads, one GL context each
    int pictureWidth = 640, pictureHeight = 480;
};

struct InventoryExportResult {
    int nodes = 0;
    int pictures = 0;
    std::vector<std::string> problems;  // nodes without a picture, and why
};

// Reads the program folder (never writes it) and writes the folder of the
// request. `progress` hears (pictures drawn, pictures to draw) from the
// picture threads. Throws ExportError, also for a folder inside the
// program folder, before anything is written.
InventoryExportResult exportInventory(const ProgramFolder& home, const NodeTable& table, std::int32_t background,
                                      const InventoryExportRequest& request,
                                      const std::function<void(int, int)>& progress);

}  // namespace vantrel
