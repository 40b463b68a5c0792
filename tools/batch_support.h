#pragma once
// Helpers shared by the kolma-batch commands.
#include <string>
#include <vector>

#include "core/model/project.h"
#include "tools/commands.h"

namespace kolma::batch {

// Shortest text that reads back as exactly the same double.
std::string FormatDouble(double value);

// One line on stderr: "kolma-batch: SUBJECT: REASON".
void ReportFailure(const std::string& subject, const std::string& reason);

// Wrong number of arguments: names the command's arguments on stderr.
int ReportUsage(const char* command);

// Loads a project file into a project with start-up values and computes the node
// positions of its section; reports a failure.
bool LoadProjectOrReport(const std::string& path, Project& project);

// Before anything runs: refuses, with one line on stderr, an output that is the same file
// as an input or as another output (through links), or that exists and is not a regular
// file. Outputs given as "" are the ones not asked for and are skipped.
bool OutputsAreSafe(const std::vector<std::string>& inputs, const std::vector<std::string>& outputs);

}  // namespace kolma::batch
