#pragma once

#include <QtCore/qglobal.h>

#if defined(CORBELAN_LIBRARY)
#define CORBELAN_EXPORT Q_DECL_EXPORT
#else
#define CORBELAN_EXPORT Q_DECL_IMPORT
#endif
