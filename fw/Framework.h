// The framework layer that the system code is written against.
#pragma once

#include "CDataExchange.h"
#include "CDialog.h"
#include "CPaintDC.h"
#include "CString.h"
#include "CWinApp.h"
#include "CWnd.h"
#include "PathJoin.h"
