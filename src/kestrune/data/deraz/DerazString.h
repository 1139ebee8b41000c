#pragma once

#include "kestrune/data/deraz/DerazRecord.h"

// A string key: its value read with GET.
class DerazString : public DerazRecord
{
public:
    DerazString(const QByteArray &key, const std::shared_ptr<DerazConnection> &connection);
};
