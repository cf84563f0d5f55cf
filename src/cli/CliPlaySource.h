#pragma once

#include <string>

#include "play/PartSources.h"

namespace vantrel::cli {

// What `play` was asked to play: a pattern MIDI file, a .dat + .sty pair, a style image
// (Total.mix), or a repository entry written "intro/NAME", "fill/NAME" or "ending/NAME".
// `part` chooses the style image's part (default all) or says how a single pattern plays
// (intro, ending, fill; default from the folder or the file's name). Reads only.
play::PartLoad LoadPlaySource(const std::string& source, const std::string& part,
                              const std::string& repositoryDir);

}  // namespace vantrel::cli
