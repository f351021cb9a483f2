#pragma once
// The fire-key panels of the models that have one.
#include "assign/FireKeyEdit.h"
#include "records/CraneConfig.h"
#include "records/EgretConfig.h"
#include "records/IbisConfig.h"

namespace assign {

using FireKeyEdit_Egret = ModelFireKeyEdit<EgretConfig>;
using FireKeyEdit_Ibis = ModelFireKeyEdit<IbisConfig>;
using FireKeyEdit_Crane = ModelFireKeyEdit<CraneConfig>;

}  // namespace assign
