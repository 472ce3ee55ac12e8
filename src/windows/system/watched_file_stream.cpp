#include "watched_file_stream.h"

#include <shlwapi.h>

namespace vellumo {

HRESULT WatchedFileStream::Open(const std::wstring& path, WatchedFileStream** stream) {
  *stream = nullptr;
  IStream* file = nullptr;
  const HRESULT opened = SHCreateStreamOnFileEx(path.c_str(), STGM_READ | STGM_SHARE_DENY_WRITE,
                                                FILE_ATTRIBUTE_NORMAL, FALSE, nullptr, &file);
  if (FAILED(opened)) return opened;
  *stream = new WatchedFileStream(file);
  return S_OK;
}

WatchedFileStream::~WatchedFileStream() {
  file_->Release();
}

ULONGLONG WatchedFileStream::size() const {
  STATSTG stat{};
  if (FAILED(file_->Stat(&stat, STATFLAG_NONAME))) return 0;
  return stat.cbSize.QuadPart;
}

HRESULT WatchedFileStream::QueryInterface(REFIID id, void** object) {
  if (!object) return E_POINTER;
  if (IsEqualIID(id, IID_IUnknown) || IsEqualIID(id, IID_ISequentialStream) ||
      IsEqualIID(id, IID_IStream)) {
    *object = static_cast<IStream*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

ULONG WatchedFileStream::AddRef() {
  return static_cast<ULONG>(InterlockedIncrement(&references_));
}

ULONG WatchedFileStream::Release() {
  const LONG left = InterlockedDecrement(&references_);
  if (left == 0) delete this;
  return static_cast<ULONG>(left);
}

HRESULT WatchedFileStream::Read(void* buffer, ULONG wanted, ULONG* read) {
  ULONG got = 0;
  const HRESULT result = file_->Read(buffer, wanted, &got);
  if (read) *read = got;
  if (FAILED(result) && read_error_ == S_OK) read_error_ = result;
  if (SUCCEEDED(result) && got < wanted) reached_end_ = true;
  return result;
}

HRESULT WatchedFileStream::Write(const void*, ULONG, ULONG*) {
  return STG_E_ACCESSDENIED;
}

HRESULT WatchedFileStream::Seek(LARGE_INTEGER move, DWORD origin, ULARGE_INTEGER* position) {
  return file_->Seek(move, origin, position);
}

HRESULT WatchedFileStream::SetSize(ULARGE_INTEGER) {
  return STG_E_ACCESSDENIED;
}

HRESULT WatchedFileStream::CopyTo(IStream*, ULARGE_INTEGER, ULARGE_INTEGER*, ULARGE_INTEGER*) {
  return E_NOTIMPL;  // every byte a decoder gets goes through Read
}

HRESULT WatchedFileStream::Commit(DWORD) {
  return S_OK;
}

HRESULT WatchedFileStream::Revert() {
  return S_OK;
}

HRESULT WatchedFileStream::LockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) {
  return STG_E_INVALIDFUNCTION;
}

HRESULT WatchedFileStream::UnlockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) {
  return STG_E_INVALIDFUNCTION;
}

HRESULT WatchedFileStream::Stat(STATSTG* stat, DWORD flags) {
  return file_->Stat(stat, flags);
}

HRESULT WatchedFileStream::Clone(IStream**) {
  return E_NOTIMPL;  // a copy would read unwatched
}

}  // namespace vellumo
