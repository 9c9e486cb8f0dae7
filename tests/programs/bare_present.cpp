// The fastest frame loop Direct3D allows: Clear + Present in a window, immediate presentation. The
// yardstick for the engine's frame loop, its start-up and its memory.
//   bare_present [SECONDS [WxH]]   (default 5 s at 640x480)
// Prints the time Direct3D and the device took to create, the frames per second of a run of the given
// seconds, the process's peak memory and the description of the Direct3D adapter it ran on.
#include <windows.h>
#include <d3d9.h>
#include <psapi.h>
#include <cstdio>
#include <cstdlib>

static double Seconds() {
  LARGE_INTEGER f, now;
  QueryPerformanceFrequency(&f);
  QueryPerformanceCounter(&now);
  return double(now.QuadPart) / double(f.QuadPart);
}

int WINAPI WinMain(HINSTANCE module, HINSTANCE, LPSTR, int) {
  double seconds = __argc > 1 ? atof(__argv[1]) : 5.0;
  int width = 640, height = 480;
  if (__argc > 2 && sscanf(__argv[2], "%dx%d", &width, &height) != 2) {
    fprintf(stderr, "usage: bare_present [SECONDS [WxH]]\n");
    return 2;
  }
  WNDCLASSA wc = {};
  wc.lpfnWndProc = DefWindowProcA;
  wc.hInstance = module;
  wc.lpszClassName = "bare";
  RegisterClassA(&wc);
  RECT r = {0, 0, width, height};
  AdjustWindowRect(&r, WS_OVERLAPPEDWINDOW, FALSE);
  HWND w = CreateWindowA("bare", "bare", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, r.right - r.left, r.bottom - r.top,
                         nullptr, nullptr, module, nullptr);
  const double created = Seconds();
  IDirect3D9* d3d = Direct3DCreate9(D3D_SDK_VERSION);
  D3DPRESENT_PARAMETERS p = {};
  p.BackBufferWidth = width;
  p.BackBufferHeight = height;
  p.BackBufferFormat = D3DFMT_X8R8G8B8;
  p.BackBufferCount = 1;
  p.SwapEffect = D3DSWAPEFFECT_DISCARD;
  p.hDeviceWindow = w;
  p.Windowed = TRUE;
  p.EnableAutoDepthStencil = TRUE;
  p.AutoDepthStencilFormat = D3DFMT_D24S8;
  p.PresentationInterval = D3DPRESENT_INTERVAL_IMMEDIATE;
  IDirect3DDevice9* device = nullptr;
  if (!d3d || FAILED(d3d->CreateDevice(0, D3DDEVTYPE_HAL, w, D3DCREATE_HARDWARE_VERTEXPROCESSING, &p, &device))) {
    fprintf(stderr, "no device\n");
    return 1;
  }
  printf("device creation: %.3f s\n", Seconds() - created);
  const double start = Seconds();
  double now;
  long frames = 0;
  do {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0, 1.0f, 0);
    device->BeginScene();
    device->EndScene();
    device->Present(nullptr, nullptr, nullptr, nullptr);
    ++frames;
    now = Seconds();
  } while (now - start < seconds);
  printf("bare loop: %.1f frames/s\n", frames / (now - start));
  PROCESS_MEMORY_COUNTERS memory = {};
  if (GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof memory))
    printf("peak memory: %.0f MB\n", memory.PeakWorkingSetSize / 1048576.0);
  D3DADAPTER_IDENTIFIER9 id = {};
  if (SUCCEEDED(d3d->GetAdapterIdentifier(D3DADAPTER_DEFAULT, 0, &id))) printf("adapter: %s\n", id.Description);
  device->Release();
  d3d->Release();
  return 0;
}
