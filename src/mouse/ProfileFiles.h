#pragma once
// The mouse pages use the shared profile files of the page layer.
#include "page/ProfileFiles.h"

namespace mouse {

using page::ProfileFileModel;
using page::ProfileFileResult;
using page::ProfileFiles;

}  // namespace mouse
