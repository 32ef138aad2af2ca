#include "shared_lock.h"

namespace queldb {

WriterFirstLock::WriterFirstLock() {
  pthread_rwlockattr_t attributes;
  pthread_rwlockattr_init(&attributes);
  // The default kind prefers readers, which can hold a writer off for ever.
  pthread_rwlockattr_setkind_np(&attributes, PTHREAD_RWLOCK_PREFER_WRITER_NONRECURSIVE_NP);
  pthread_rwlock_init(&lock_, &attributes);
  pthread_rwlockattr_destroy(&attributes);
}

WriterFirstLock::~WriterFirstLock() { pthread_rwlock_destroy(&lock_); }

}  // namespace queldb
