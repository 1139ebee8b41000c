#pragma once

#include <QtCore/QByteArray>
#include <QtCore/QList>

#include <hiredis/hiredis.h>

#include <utility>
#include <vector>

// A hiredis array reply built by hand, as the reader hands it to us.
struct FakeArrayReply
{
    std::vector<QByteArray> storage;
    std::vector<redisReply> elements;
    std::vector<redisReply *> pointers;
    redisReply array{};

    explicit FakeArrayReply(const QList<std::pair<int, QByteArray>> &items)
    {
        storage.reserve(items.size());
        elements.resize(items.size());
        for (size_t i = 0; i < size_t(items.size()); ++i) {
            storage.push_back(items[qsizetype(i)].second);
            redisReply &e = elements[i];
            e = redisReply{};
            e.type = items[qsizetype(i)].first;
            e.str = storage.back().data();
            e.len = size_t(storage.back().size());
        }
        for (redisReply &e : elements)
            pointers.push_back(&e);
        array.type = REDIS_REPLY_ARRAY;
        array.elements = pointers.size();
        array.element = pointers.data();
    }
};
