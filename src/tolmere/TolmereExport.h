#pragma once

#include <QtCore/qglobal.h>

#if defined(TOLMERE_LIBRARY)
#define TOLMERE_EXPORT Q_DECL_EXPORT
#else
#define TOLMERE_EXPORT Q_DECL_IMPORT
#endif
