// SPDX-FileCopyrightText: 2026 The gridcol developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <algorithm>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

/// A queue from one producing thread to one consuming thread that holds at
/// most capacity items: the producer waits while it is full, the consumer
/// while it is empty. Items come out in the order they went in.
template<typename T>
class BoundedQueue
{
public:
    explicit BoundedQueue(std::size_t capacity)
        : m_capacity(capacity)
    {
    }

    void push(T item)
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_notFull.wait(lock, [this] { return m_items.size() < m_capacity; });
        m_items.push_back(std::move(item));
        m_notEmpty.notify_one();
    }

    T pop()
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_notEmpty.wait(lock, [this] { return !m_items.empty(); });
        T item = std::move(m_items.front());
        m_items.pop_front();
        m_notFull.notify_one();
        return item;
    }

private:
    const std::size_t m_capacity;
    std::mutex m_mutex;
    std::condition_variable m_notFull;
    std::condition_variable m_notEmpty;
    std::deque<T> m_items;
};

/// Reads a directory's files on other threads while this one takes in what
/// was read, in file order, so that everything the caller does (console,
/// log, database) happens exactly as if it read the files itself.
///
/// produce(index, handOn) reads file index and hands its parts on in
/// order, the last one marked; consume(part) takes them on the calling
/// thread. With several readers, reader w reads the files w, w + readers,
/// w + 2 readers, ... one after another, into a queue of its own, so
/// produce() for files of different remainders runs side by side. Each queue
/// holds a bounded number of parts, so memory stays bounded however large a
/// file is, as long as each part is.
template<typename Part, typename Produce, typename Consume>
void ReadInOrder(int fileCount, Produce produce, Consume consume, int readers = 1)
{
    if (fileCount <= 0)
        return;
    readers = std::max(1, std::min(readers, fileCount));
    std::vector<std::unique_ptr<BoundedQueue<Part>>> queues;
    std::vector<std::thread> threads;
    for (int w = 0; w < readers; ++w)
        queues.push_back(std::make_unique<BoundedQueue<Part>>(8));
    for (int w = 0; w < readers; ++w) {
        threads.emplace_back([&, w] {
            BoundedQueue<Part> &queue = *queues[std::size_t(w)];
            for (int i = w; i < fileCount; i += readers)
                produce(i, [&queue](Part &&part) { queue.push(std::move(part)); });
        });
    }
    for (int file = 0; file < fileCount;) {
        Part part = queues[std::size_t(file % readers)]->pop();
        const bool last = part.last;
        consume(part);
        if (last)
            ++file;
    }
    for (std::thread &thread : threads)
        thread.join();
}
