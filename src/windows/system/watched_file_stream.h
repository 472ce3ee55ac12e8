#pragma once

#include <objidl.h>

#include <string>

namespace vellumo {

// A picture file for a decoder to read, which notes how the reading went, so that a decoder's
// plain "failed" can be told apart: the file ended before the picture did, or a read failed.
class WatchedFileStream final : public IStream {
 public:
  // Opens `path` for reading (others may read it too); the HRESULT says why not. The stream
  // starts with one reference, the caller's.
  static HRESULT Open(const std::wstring& path, WatchedFileStream** stream);

  // A read came back with fewer bytes than asked: the end of the file.
  bool reached_end() const { return reached_end_; }
  // The first read that failed, S_OK when none did.
  HRESULT read_error() const { return read_error_; }
  ULONGLONG size() const;

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  // ISequentialStream
  HRESULT STDMETHODCALLTYPE Read(void* buffer, ULONG wanted, ULONG* read) override;
  HRESULT STDMETHODCALLTYPE Write(const void*, ULONG, ULONG*) override;
  // IStream: a read-only view of the file.
  HRESULT STDMETHODCALLTYPE Seek(LARGE_INTEGER move, DWORD origin,
                                 ULARGE_INTEGER* position) override;
  HRESULT STDMETHODCALLTYPE SetSize(ULARGE_INTEGER) override;
  HRESULT STDMETHODCALLTYPE CopyTo(IStream*, ULARGE_INTEGER, ULARGE_INTEGER*,
                                   ULARGE_INTEGER*) override;
  HRESULT STDMETHODCALLTYPE Commit(DWORD) override;
  HRESULT STDMETHODCALLTYPE Revert() override;
  HRESULT STDMETHODCALLTYPE LockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override;
  HRESULT STDMETHODCALLTYPE UnlockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override;
  HRESULT STDMETHODCALLTYPE Stat(STATSTG* stat, DWORD flags) override;
  HRESULT STDMETHODCALLTYPE Clone(IStream**) override;

 private:
  explicit WatchedFileStream(IStream* file) : file_(file) {}
  ~WatchedFileStream();

  IStream* file_;
  LONG references_ = 1;
  bool reached_end_ = false;
  HRESULT read_error_ = S_OK;
};

}  // namespace vellumo
