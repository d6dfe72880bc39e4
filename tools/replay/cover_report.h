// The report of a cover run: as text for the author, or as one JSON object for a program.
#pragma once

#include "coverage.h"

// unused: the pictures, sounds and music of the folder no route used.
std::string Cover_text(const Coverage& coverage, const std::vector<std::string>& unused);
std::string Cover_json(const Coverage& coverage, const std::vector<std::string>& unused);
// The lowest percentage of lines reached among the scripts; 100 when there are none.
double Lowest_percent(const Coverage& coverage);
