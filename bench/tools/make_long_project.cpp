// Writes the project that bench/time_batch.sh times: YEARS years of hourly face temperatures
// (annual and daily cycles with noise), a 10 m section of DIVISIONS divisions and ten
// thermometers between the faces. Built by the script against the core library.
// Usage: make_long_project OUT.kol [YEARS] [DIVISIONS] [MIN_HARMONICS]  (YEARS may be fractional)
#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench/long_faces_project.h"
#include "core/model/project_file.h"

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: make_long_project OUT.kol [YEARS] [DIVISIONS] [MIN_HARMONICS]\n");
    return 2;
  }
  const double years = argc > 2 ? std::atof(argv[2]) : 10.0;
  const int divisions = argc > 3 ? std::atoi(argv[3]) : 50;
  const int minHarmonics = argc > 4 ? std::atoi(argv[4]) : 40;
  const kolma::Project p = kolma::bench::LongFacesProject(years, divisions, minHarmonics, 24);
  std::string reason;
  if (!kolma::EcritureFichier(p, argv[1], &reason)) {
    std::fprintf(stderr, "make_long_project: %s\n", reason.c_str());
    return 1;
  }
  return 0;
}
