#pragma once

#include <QtCore/qglobal.h>

#if defined(BASTWICK_LIBRARY)
#define BASTWICK_EXPORT Q_DECL_EXPORT
#else
#define BASTWICK_EXPORT Q_DECL_IMPORT
#endif
