// Bounds-checked reading of the data block of one .X data object, in the layout the DirectX File
// interfaces give it: DWORDs and FLOATs packed without padding, arrays inline after their counts.
// A read past the end fails and leaves the reader failed, so a damaged count cannot overrun.
#pragma once
#include <windows.h>
#include <dxfile.h>
#include <cstdint>
#include <cstring>

class HvXDataReader {
public:
  HvXDataReader(const void* data, size_t size) : at(static_cast<const uint8_t*>(data)), left(data ? size : 0) {}
  // The data of `object`; an object without data gives an empty reader.
  explicit HvXDataReader(IDirectXFileData* object) {
    DWORD size = 0;
    void* data = nullptr;
    if (SUCCEEDED(object->GetData(nullptr, &size, &data)) && data) {
      at = static_cast<const uint8_t*>(data);
      left = size;
    }
  }

  bool Dword(uint32_t& v) { return Bytes(&v, 4); }
  bool Float(float& v) { return Bytes(&v, 4); }
  bool Floats(float* v, size_t count) { return count <= left / 4 && Bytes(v, count * 4); }
  // A STRING member: the block holds a pointer to text owned by the file object.
  bool String(const char*& s) { return Bytes(&s, sizeof s) && s; }
  // Whether `count` more elements of `bytesEach` can still be there; guards allocations.
  bool Holds(size_t count, size_t bytesEach) const { return ok && count <= left / bytesEach; }
  bool Ok() const { return ok; }

private:
  bool Bytes(void* to, size_t n) {
    if (!ok || n > left) return ok = false;
    std::memcpy(to, at, n);
    at += n;
    left -= n;
    return true;
  }

  const uint8_t* at = nullptr;
  size_t left = 0;
  bool ok = true;
};

// Calls visit(child, isReference) for every child data object of `parent` in order, a data
// reference resolved to its target; other child kinds are skipped. False at the first false visit,
// an unresolvable reference or a read error.
template <class Visit> bool HvForEachXChild(IDirectXFileData* parent, Visit visit) {
  IDirectXFileObject* object = nullptr;
  HRESULT hr;
  while (SUCCEEDED(hr = parent->GetNextObject(&object))) {
    IDirectXFileData* data = nullptr;
    IDirectXFileDataReference* reference = nullptr;
    bool ok = true;
    if (SUCCEEDED(object->QueryInterface(IID_IDirectXFileData, reinterpret_cast<void**>(&data)))) {
      ok = visit(data, false);
      data->Release();
    } else if (SUCCEEDED(object->QueryInterface(IID_IDirectXFileDataReference, reinterpret_cast<void**>(&reference)))) {
      ok = SUCCEEDED(reference->Resolve(&data));
      if (ok) {
        ok = visit(data, true);
        data->Release();
      }
      reference->Release();
    }
    object->Release();
    if (!ok) return false;
  }
  return hr == DXFILEERR_NOMOREOBJECTS;
}

// The template identifier of a data object; GUID_NULL if it cannot be read.
inline GUID HvXTypeOf(IDirectXFileData* object) {
  const GUID* type = nullptr;
  return SUCCEEDED(object->GetType(&type)) && type ? *type : GUID_NULL;
}
