#pragma once
// Entry points keep C linkage and default visibility; everything else in a library stays hidden
// (the link also applies a version script that exports only entry points and the OakSim_ surface).
#include <cstdint>

#define OAK_API extern "C" __attribute__((visibility("default")))

#define OAK_CAT2(a, b) a##b
#define OAK_CAT(a, b) OAK_CAT2(a, b)

// A pair of scalar entry points over one field: getter (int*) and setter (int).
#define OAK_SCALAR(getName, setName, field)                           \
    OAK_API int32_t getName(int32_t* value) {                         \
        return Dev().GetInt(__func__, sim::FieldId::field, 0, value); \
    }                                                                 \
    OAK_API int32_t setName(int32_t value) {                          \
        return Dev().SetInt(__func__, sim::FieldId::field, 0, value); \
    }
