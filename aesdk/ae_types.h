// Basic value types of the host's effect interface, as the effect and our simulated host use them.
// This folder is the only place a build against the host's own interface headers would replace; its
// records, tables and constants match the host's binary interface on x64 Windows (tests/test_host_abi.cpp),
// and each name it shares with the host's headers has the type they give it (tests/test_host_abi_types.cpp).
#pragma once

#include <cstdint>

typedef char A_char;
typedef uint8_t A_u_char;
typedef int16_t A_short;
typedef uint16_t A_u_short;
typedef int32_t A_long;
typedef uint32_t A_u_long;
typedef uint64_t A_u_longlong;
typedef uint8_t A_Boolean;
typedef double A_FpLong;
typedef float A_FpShort;
typedef int32_t A_Err;

typedef A_long PF_Err;
typedef A_long PF_Fixed;     // 16.16 fixed point
typedef A_long PF_ParamIndex;
typedef char PF_Boolean;
typedef double PF_FpLong;
typedef float PF_FpShort;

struct A_Time {
    A_long value;
    A_u_long scale;
};

struct A_Ratio {
    A_long num;
    A_u_long den;
};

struct PF_RationalScale {
    A_long num;
    A_u_long den;
};

struct A_Matrix4 {
    A_FpLong mat[4][4];
};

struct PF_LRect {
    A_long left, top, right, bottom;
};
typedef PF_LRect PF_Rect;

struct PF_Point {
    A_long h, v;
};

struct A_FloatPoint {
    A_FpLong x, y;
};

// An opaque movable block of host memory: the handle points at the block's master pointer.
typedef void** PF_Handle;

// Opaque host references.
typedef struct PF_ProgressInfo* PF_ProgPtr;
typedef struct PF_Context** PF_ContextH;

enum : PF_Err {
    PF_Err_NONE = 0,
    PF_Err_OUT_OF_MEMORY = 4,
    PF_Err_INTERNAL_STRUCT_DAMAGED = 512,
    PF_Err_INVALID_INDEX = 513,
    PF_Err_UNRECOGNIZED_PARAM_TYPE = 514,
    PF_Err_INVALID_CALLBACK = 515,
    PF_Err_BAD_CALLBACK_PARAM = 516,
    PF_Interrupt_CANCEL = 517,
};

// A slot of a host table that this effect never calls. It is declared only so that every later slot sits
// at the offset the host gives it.
typedef void (*AE_UnusedSlot)();

// Space a record reserves for the host is declared as unnamed bit-fields of the width it takes: they keep
// the host's layout without a name of our own.
