#pragma once
// What every simulated library's translation unit needs before its entry points: the core, the
// model tables and a field lookup that cannot miss (a model's own entry points only ask for fields
// its table has; a miss is a build mistake caught by the tests).
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "core/ControlSurface.h"
#include "core/Export.h"
#include "core/SimDevice.h"
#include "models/Models.h"

namespace {

sim::SimDevice& Dev();

const sim::Field& FieldOf(sim::FieldId id) {
    const sim::Field* field = sim::FindField(Dev().Spec().fields, id);
    if (!field) std::abort();
    return *field;
}

}  // namespace
