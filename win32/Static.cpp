#include "Static.h"

CStatic::~CStatic() = default;
