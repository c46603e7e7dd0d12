/* Test-only winmm.dll for the Wine tests, never shipped: one MIDI output port,
 * "Davirodir Test Out", no inputs. Every long message is logged with the time it
 * arrived to winmm.log beside this DLL, one line each:
 *     <ms since load> LONG <hex bytes>
 * With DAVIRODIR_TEST_WINMM_NEVER_DONE set it takes long messages but never
 * marks them done (a driver that hangs), until midiOutReset hands them back.
 * Loaded instead of Wine's own with WINEDLLOVERRIDES="winmm=n,b" and the DLL
 * beside the exe. It exports what the exe imports from winmm (objdump -p);
 * -Wno-attributes: the MinGW headers declare these functions dllimport. */
#define WINMMAPI __declspec(dllexport)
#include <windows.h>

#include <mmsystem.h>
#include <stdio.h>

static CRITICAL_SECTION lock;
static FILE* logFile;
static LARGE_INTEGER frequency, loadTime;
static BOOL neverDone;
static DWORD_PTR callback, callbackInstance;
static DWORD callbackFlags;
static LPMIDIHDR pending; /* taken, not done (never-done mode) */
static const WCHAR portName[] = L"Davirodir Test Out";
#define TEST_HANDLE ((HMIDIOUT)(UINT_PTR)0x5151)

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved)
{
    (void)reserved;
    if (reason == DLL_PROCESS_ATTACH)
    {
        char path[MAX_PATH];
        DWORD n = GetModuleFileNameA(instance, path, MAX_PATH);
        while (n > 0 && path[n - 1] != '\\' && path[n - 1] != '/')
            --n;
        lstrcpyA(path + n, "winmm.log");
        logFile = fopen(path, "a");
        InitializeCriticalSection(&lock);
        QueryPerformanceFrequency(&frequency);
        QueryPerformanceCounter(&loadTime);
        neverDone = GetEnvironmentVariableA("DAVIRODIR_TEST_WINMM_NEVER_DONE", NULL, 0) > 0;
    }
    else if (reason == DLL_PROCESS_DETACH && logFile != NULL)
        fclose(logFile);
    return TRUE;
}

static double nowMs(void)
{
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return (double)(t.QuadPart - loadTime.QuadPart) * 1000.0 / (double)frequency.QuadPart;
}

static void logLine(const char* what, const BYTE* data, DWORD size)
{
    EnterCriticalSection(&lock);
    if (logFile != NULL)
    {
        fprintf(logFile, "%.3f %s", nowMs(), what);
        for (DWORD i = 0; i < size; ++i)
            fprintf(logFile, " %02x", data[i]);
        fputc('\n', logFile);
        fflush(logFile);
    }
    LeaveCriticalSection(&lock);
}

static void notify(UINT message, LPMIDIHDR header)
{
    switch (callbackFlags & CALLBACK_TYPEMASK)
    {
    case CALLBACK_EVENT:
        SetEvent((HANDLE)callback);
        break;
    case CALLBACK_FUNCTION:
        if (callback != 0)
            ((DRVCALLBACK*)callback)((HDRVR)TEST_HANDLE, message, callbackInstance, (DWORD_PTR)header, 0);
        break;
    default:
        break;
    }
}

static void finish(LPMIDIHDR header)
{
    header->dwFlags &= ~MHDR_INQUEUE;
    header->dwFlags |= MHDR_DONE;
    notify(MOM_DONE, header);
}

UINT WINAPI midiOutGetNumDevs(void)
{
    return 1;
}

MMRESULT WINAPI midiOutGetDevCapsW(UINT_PTR id, LPMIDIOUTCAPSW caps, UINT size)
{
    if (id != 0)
        return MMSYSERR_BADDEVICEID;
    if (caps == NULL || size < sizeof(MIDIOUTCAPSW))
        return MMSYSERR_INVALPARAM;
    ZeroMemory(caps, sizeof(*caps));
    caps->wMid = 0xffff;
    caps->wPid = 1;
    caps->vDriverVersion = 0x0100;
    lstrcpynW(caps->szPname, portName, MAXPNAMELEN);
    caps->wTechnology = MOD_MIDIPORT;
    caps->wChannelMask = 0xffff;
    return MMSYSERR_NOERROR;
}

MMRESULT WINAPI midiOutOpen(LPHMIDIOUT handle, UINT id, DWORD_PTR cb, DWORD_PTR instance, DWORD flags)
{
    if (id != 0 && id != (UINT)-1)
        return MMSYSERR_BADDEVICEID;
    callback = cb;
    callbackInstance = instance;
    callbackFlags = flags;
    *handle = TEST_HANDLE;
    logLine("OPEN", NULL, 0);
    notify(MOM_OPEN, NULL);
    return MMSYSERR_NOERROR;
}

MMRESULT WINAPI midiOutClose(HMIDIOUT handle)
{
    if (handle != TEST_HANDLE)
        return MMSYSERR_INVALHANDLE;
    if (pending != NULL)
        return MIDIERR_STILLPLAYING;
    logLine("CLOSE", NULL, 0);
    notify(MOM_CLOSE, NULL);
    return MMSYSERR_NOERROR;
}

MMRESULT WINAPI midiOutPrepareHeader(HMIDIOUT handle, LPMIDIHDR header, UINT size)
{
    if (handle != TEST_HANDLE)
        return MMSYSERR_INVALHANDLE;
    if (header == NULL || size < sizeof(MIDIHDR))
        return MMSYSERR_INVALPARAM;
    header->dwFlags |= MHDR_PREPARED;
    header->dwFlags &= ~MHDR_DONE;
    return MMSYSERR_NOERROR;
}

MMRESULT WINAPI midiOutUnprepareHeader(HMIDIOUT handle, LPMIDIHDR header, UINT size)
{
    if (handle != TEST_HANDLE)
        return MMSYSERR_INVALHANDLE;
    if (header == NULL || size < sizeof(MIDIHDR))
        return MMSYSERR_INVALPARAM;
    if (header->dwFlags & MHDR_INQUEUE)
        return MIDIERR_STILLPLAYING;
    header->dwFlags &= ~MHDR_PREPARED;
    return MMSYSERR_NOERROR;
}

MMRESULT WINAPI midiOutLongMsg(HMIDIOUT handle, LPMIDIHDR header, UINT size)
{
    if (handle != TEST_HANDLE)
        return MMSYSERR_INVALHANDLE;
    if (header == NULL || size < sizeof(MIDIHDR))
        return MMSYSERR_INVALPARAM;
    if (!(header->dwFlags & MHDR_PREPARED))
        return MIDIERR_UNPREPARED;
    logLine("LONG", (const BYTE*)header->lpData, header->dwBufferLength);
    header->dwFlags &= ~MHDR_DONE;
    header->dwFlags |= MHDR_INQUEUE;
    if (neverDone)
        pending = header;
    else
        finish(header);
    return MMSYSERR_NOERROR;
}

MMRESULT WINAPI midiOutReset(HMIDIOUT handle)
{
    if (handle != TEST_HANDLE)
        return MMSYSERR_INVALHANDLE;
    logLine("RESET", NULL, 0);
    if (pending != NULL)
    {
        LPMIDIHDR header = pending;
        pending = NULL;
        finish(header);
    }
    return MMSYSERR_NOERROR;
}

MMRESULT WINAPI midiOutShortMsg(HMIDIOUT handle, DWORD message)
{
    if (handle != TEST_HANDLE)
        return MMSYSERR_INVALHANDLE;
    BYTE bytes[3] = {(BYTE)message, (BYTE)(message >> 8), (BYTE)(message >> 16)};
    logLine("SHORT", bytes, 3);
    return MMSYSERR_NOERROR;
}

/* Refusing DRV_QUERYDEVICEINTERFACE makes JUCE use the port name as its identifier. */
MMRESULT WINAPI midiOutMessage(HMIDIOUT handle, UINT message, DWORD_PTR a, DWORD_PTR b)
{
    (void)handle;
    (void)message;
    (void)a;
    (void)b;
    return MMSYSERR_NOTSUPPORTED;
}

UINT WINAPI midiInGetNumDevs(void)
{
    return 0;
}
MMRESULT WINAPI midiInGetDevCapsW(UINT_PTR id, LPMIDIINCAPSW caps, UINT size)
{
    (void)id;
    (void)caps;
    (void)size;
    return MMSYSERR_BADDEVICEID;
}
MMRESULT WINAPI midiInOpen(LPHMIDIIN handle, UINT id, DWORD_PTR cb, DWORD_PTR instance, DWORD flags)
{
    (void)handle;
    (void)id;
    (void)cb;
    (void)instance;
    (void)flags;
    return MMSYSERR_BADDEVICEID;
}
MMRESULT WINAPI midiInClose(HMIDIIN handle)
{
    (void)handle;
    return MMSYSERR_INVALHANDLE;
}
MMRESULT WINAPI midiInStart(HMIDIIN handle)
{
    (void)handle;
    return MMSYSERR_INVALHANDLE;
}
MMRESULT WINAPI midiInStop(HMIDIIN handle)
{
    (void)handle;
    return MMSYSERR_INVALHANDLE;
}
MMRESULT WINAPI midiInReset(HMIDIIN handle)
{
    (void)handle;
    return MMSYSERR_INVALHANDLE;
}
MMRESULT WINAPI midiInAddBuffer(HMIDIIN handle, LPMIDIHDR header, UINT size)
{
    (void)handle;
    (void)header;
    (void)size;
    return MMSYSERR_INVALHANDLE;
}
MMRESULT WINAPI midiInPrepareHeader(HMIDIIN handle, LPMIDIHDR header, UINT size)
{
    (void)handle;
    (void)header;
    (void)size;
    return MMSYSERR_INVALHANDLE;
}
MMRESULT WINAPI midiInUnprepareHeader(HMIDIIN handle, LPMIDIHDR header, UINT size)
{
    (void)handle;
    (void)header;
    (void)size;
    return MMSYSERR_INVALHANDLE;
}
MMRESULT WINAPI midiInMessage(HMIDIIN handle, UINT message, DWORD_PTR a, DWORD_PTR b)
{
    (void)handle;
    (void)message;
    (void)a;
    (void)b;
    return MMSYSERR_NOTSUPPORTED;
}

MMRESULT WINAPI timeBeginPeriod(UINT period)
{
    (void)period;
    return TIMERR_NOERROR;
}
MMRESULT WINAPI timeEndPeriod(UINT period)
{
    (void)period;
    return TIMERR_NOERROR;
}
DWORD WINAPI timeGetTime(void)
{
    return (DWORD)GetTickCount64();
}
