// Releases a COM interface and nulls the pointer, so every owner frees its interfaces in one place.
#pragma once

template <class T> void HvSafeRelease(T*& p) {
  if (p) p->Release();
  p = nullptr;
}
