/* The calls the probe counts. Each forwards to the function it replaces: the C library's allocator under its
   internal names, the others found with dlsym(RTLD_NEXT), which also finds a sanitizer's interceptor. */

#define _GNU_SOURCE
#include <dlfcn.h>
#include <pthread.h>
#include <sched.h>
#include <semaphore.h>
#include <stddef.h>
#include <string.h>
#include <time.h>

void raziz_probe_allocation(size_t bytes);
void raziz_probe_lock(void);

#if defined(__SANITIZE_ADDRESS__)
#define RAZIZ_PROBE_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define RAZIZ_PROBE_ASAN 1
#endif
#endif

#ifndef RAZIZ_PROBE_ASAN
/* Under a sanitizer the allocator is the sanitizer's and its hooks do the counting (probe.cpp). */
void* __libc_malloc(size_t);
void* __libc_calloc(size_t, size_t);
void* __libc_realloc(void*, size_t);
void* __libc_memalign(size_t, size_t);
void* __libc_valloc(size_t);
void* __libc_pvalloc(size_t);
void __libc_free(void*);

void* malloc(size_t size) {
  raziz_probe_allocation(size);
  return __libc_malloc(size);
}
void* calloc(size_t count, size_t size) {
  raziz_probe_allocation(count * size);
  return __libc_calloc(count, size);
}
void* realloc(void* old, size_t size) {
  raziz_probe_allocation(size);
  return __libc_realloc(old, size);
}
void* memalign(size_t alignment, size_t size) {
  raziz_probe_allocation(size);
  return __libc_memalign(alignment, size);
}
void* aligned_alloc(size_t alignment, size_t size) {
  raziz_probe_allocation(size);
  return __libc_memalign(alignment, size);
}
int posix_memalign(void** out, size_t alignment, size_t size) {
  if (alignment % sizeof(void*) != 0 || (alignment & (alignment - 1)) != 0) return 22; /* EINVAL */
  raziz_probe_allocation(size);
  void* p = __libc_memalign(alignment, size);
  if (!p && size) return 12; /* ENOMEM */
  *out = p;
  return 0;
}
void* valloc(size_t size) {
  raziz_probe_allocation(size);
  return __libc_valloc(size);
}
void* pvalloc(size_t size) {
  raziz_probe_allocation(size);
  return __libc_pvalloc(size);
}
void free(void* p) { __libc_free(p); }
#endif

/* dlsym gives an object pointer; copying its bits is the portable way to a function pointer. */
#define NEXT(name)                         \
  static __typeof__(name)* real;           \
  if (!real) {                             \
    void* found = dlsym(RTLD_NEXT, #name); \
    memcpy(&real, &found, sizeof real);    \
  }

int pthread_mutex_lock(pthread_mutex_t* m) {
  NEXT(pthread_mutex_lock);
  raziz_probe_lock();
  return real(m);
}
int pthread_mutex_trylock(pthread_mutex_t* m) {
  NEXT(pthread_mutex_trylock);
  raziz_probe_lock();
  return real(m);
}
int pthread_mutex_timedlock(pthread_mutex_t* m, const struct timespec* t) {
  NEXT(pthread_mutex_timedlock);
  raziz_probe_lock();
  return real(m, t);
}
int pthread_mutex_clocklock(pthread_mutex_t* m, clockid_t clock, const struct timespec* t) {
  NEXT(pthread_mutex_clocklock);
  raziz_probe_lock();
  return real(m, clock, t);
}
int pthread_rwlock_rdlock(pthread_rwlock_t* l) {
  NEXT(pthread_rwlock_rdlock);
  raziz_probe_lock();
  return real(l);
}
int pthread_rwlock_wrlock(pthread_rwlock_t* l) {
  NEXT(pthread_rwlock_wrlock);
  raziz_probe_lock();
  return real(l);
}
int pthread_spin_lock(pthread_spinlock_t* l) {
  NEXT(pthread_spin_lock);
  raziz_probe_lock();
  return real(l);
}
int pthread_cond_wait(pthread_cond_t* c, pthread_mutex_t* m) {
  NEXT(pthread_cond_wait);
  raziz_probe_lock();
  return real(c, m);
}
int pthread_cond_timedwait(pthread_cond_t* c, pthread_mutex_t* m, const struct timespec* t) {
  NEXT(pthread_cond_timedwait);
  raziz_probe_lock();
  return real(c, m, t);
}
int pthread_cond_clockwait(pthread_cond_t* c, pthread_mutex_t* m, clockid_t clock, const struct timespec* t) {
  NEXT(pthread_cond_clockwait);
  raziz_probe_lock();
  return real(c, m, clock, t);
}
int sem_wait(sem_t* s) {
  NEXT(sem_wait);
  raziz_probe_lock();
  return real(s);
}
int sem_timedwait(sem_t* s, const struct timespec* t) {
  NEXT(sem_timedwait);
  raziz_probe_lock();
  return real(s, t);
}
int nanosleep(const struct timespec* want, struct timespec* left) {
  NEXT(nanosleep);
  raziz_probe_lock();
  return real(want, left);
}
int clock_nanosleep(clockid_t clock, int flags, const struct timespec* want, struct timespec* left) {
  NEXT(clock_nanosleep);
  raziz_probe_lock();
  return real(clock, flags, want, left);
}
int sched_yield(void) {
  NEXT(sched_yield);
  raziz_probe_lock();
  return real();
}
