#pragma once

#include <QtCore/qglobal.h>

#if defined(PAVISADE_LIBRARY)
#define PAVISADE_EXPORT Q_DECL_EXPORT
#else
#define PAVISADE_EXPORT Q_DECL_IMPORT
#endif
