#include "tools/commands.h"

namespace kolma::batch {

std::span<const Command> Commands() {
  static const Command table[] = {
      {"show", "FILE.kol", "print the stored project, one key=value line per field", RunShow, false},
      {"resave", "IN.kol OUT.kol", "read a project file and write it back", RunResave, false},
      {"direct",
       "P.kol [--time-step H] [--faces user|inverse] [--data temperature|mean|linear|nonlinear|stress] "
       "[--precision 3|5|e] [--accept-warnings] --csv OUT.csv | --xls OUT.xls",
       "run the direct analysis and write the spreadsheet of the chosen quantity", RunDirect, false},
      {"inverse", "P.kol [--time-step H] [--thermometers pair|all] [--report] [--accept-warnings] --csv OUT.csv | --xls OUT.xls",
       "run the inverse analysis and write the worked-back face temperatures", RunInverse, false},
      {"harmonics", "P.kol --direct|--inverse [--time-step H] [--accept-warnings] --csv OUT.csv | --xls OUT.xls",
       "run one analysis and write the table of its retained harmonics", RunHarmonics, false},
      {"import-measurements",
       "IN OUT.txt [--step H] [--column N] [--time-column N] [--max-gap H] [--day-first|--month-first] "
       "[--utc-offset H] [--accept-warnings]",
       "resample a logger's file of time-stamped readings into a time-history file", RunImportMeasurements, false},
      {"make-examples", "DIR", "write the example projects and their histories into DIR", RunMakeExamples, true},
  };
  return table;
}

}  // namespace kolma::batch
