#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <mutex>
#include <thread>

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

/// Reads a directory's files on a second thread while this one takes in what
/// was read, in file order, so that everything the caller does (console,
/// log, database) happens exactly as if it read the files itself.
///
/// produce(index, handOn) reads file index and hands its parts on in
/// order, the last one marked; consume(part) takes them on the calling
/// thread. The queue between them holds a bounded number of parts, so memory
/// stays bounded however large a file is, as long as each part is.
template<typename Part, typename Produce, typename Consume>
void ReadInOrder(int fileCount, Produce produce, Consume consume)
{
    if (fileCount <= 0)
        return;
    BoundedQueue<Part> queue(8);
    std::thread reader([&] {
        for (int i = 0; i < fileCount; ++i)
            produce(i, [&queue](Part &&part) { queue.push(std::move(part)); });
    });
    for (int done = 0; done < fileCount;) {
        Part part = queue.pop();
        if (part.last)
            ++done;
        consume(part);
    }
    reader.join();
}
