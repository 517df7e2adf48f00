#pragma once

#include <kz8mrp/ByRef.h>
#include <kz8mrp/Enums.h>
#include <kz8mrp/Error.h>
#include <kz8mrp/MRPObject.h>
#include <kz8mrp/OleDate.h>
#include <kz8mrp/PickList.h>
#include <kz8mrp/Session.h>
