// A reader-writer lock that lets a waiting writer in before new readers, so a
// driver storing values is never starved by screens that read in a loop, and
// a reader waits at most for the writes already queued, one call each.
#pragma once

#include <pthread.h>

namespace queldb {

class WriterFirstLock {
 public:
  WriterFirstLock();
  ~WriterFirstLock();
  WriterFirstLock(const WriterFirstLock&) = delete;
  WriterFirstLock& operator=(const WriterFirstLock&) = delete;

  // The names std::shared_lock and std::unique_lock expect.
  void lock_shared() { pthread_rwlock_rdlock(&lock_); }
  void unlock_shared() { pthread_rwlock_unlock(&lock_); }
  void lock() { pthread_rwlock_wrlock(&lock_); }
  void unlock() { pthread_rwlock_unlock(&lock_); }

 private:
  pthread_rwlock_t lock_;
};

}  // namespace queldb
