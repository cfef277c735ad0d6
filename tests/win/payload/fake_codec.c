/* Stand-ins for the codec library: one without CreateObject, one whose
   CreateObject creates nothing. */
#include <windows.h>

#ifdef QX_WITH_CREATE_OBJECT
__declspec(dllexport) HRESULT WINAPI CreateObject(const GUID* clsid, const GUID* iid, void** out) {
  (void)clsid;
  (void)iid;
  *out = NULL;
  return E_NOTIMPL;
}
#else
__declspec(dllexport) int QxNothingHere(void) { return 0; }
#endif
