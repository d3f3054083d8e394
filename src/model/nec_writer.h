// Writing the project as a NEC-2 input deck that NEC-2 engines run.
#pragma once

#include <string>

#include "model/project.h"

namespace qw {

// The deck: comment cards naming what NEC models differently, one GW card
// per wire (tag = wire number, the height added to z), GE with the ground
// flag, GN for the ground, EX 0 for every source and LD for every load on
// the segment whose centre the reader maps back to the same pulse, FR, the
// default far-field grid as an RP card, and EN. Lines end with CR LF.
std::string NecDeckText(const Project& p, const std::string& projectName);

// "" when the project can be written; else why not.
std::string NecExportProblem(const Project& p);

}  // namespace qw
