#pragma once
// The workbook of a result table: every cell, fixed rows and columns included, in the
// same arrangement from A1 on; merged header cells stay merged.
#include <filesystem>

#include "core/formats/workbook_writer.h"

namespace kolma {

class TResultTable;
class TTableRows;

TCellGrid ResultTableCells(const TResultTable& table);  // a view: the table must outlive it
TFileWriteResult WriteResultTableWorkbook(const std::filesystem::path& path, const TResultTable& table,
                                          const TWorkbookOptions& options = {});

// The same from a table made row by row: one row of text at a time, never the whole table.
TWorkbookBytes BuildTableWorkbook(const TTableRows& table, const TWorkbookOptions& options = {});
TFileWriteResult WriteTableWorkbook(const std::filesystem::path& path, const TTableRows& table,
                                    const TWorkbookOptions& options = {});

}  // namespace kolma
