/* The device side of the rig: records every byte the emulated MIDI interface
 * receives, with the time each read brought it.
 *
 *   midirecord <rawmidi, e.g. hw:Gadget,0> <prefix>
 *
 * Writes <prefix>.syx (the bytes as received) and <prefix>.log, one line per read:
 * "<seconds since boot, CLOCK_BOOTTIME>\t<offset of its first byte>\t<byte count>",
 * both flushed after every read so a script can follow them. Prints "READY" once
 * the port is open. Ends on SIGTERM/SIGINT, or when the device goes away (the
 * gadget taken off the bus); then prints "midirecord: bytes N xruns X end R",
 * R being "stopped" or "gone". The input buffer is raised to 1 MiB: the gadget
 * never holds data back, so a reader that falls behind loses bytes (counted as
 * xruns), which would be blamed on the sender. */
#include <alsa/asoundlib.h>
#include <errno.h>
#include <poll.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>

static volatile sig_atomic_t stopRequested = 0;

static void onStop(int sig)
{
    (void)sig;
    stopRequested = 1;
}

static double secondsSinceBoot(void)
{
    struct timespec t;
    clock_gettime(CLOCK_BOOTTIME, &t);
    return (double)t.tv_sec + (double)t.tv_nsec / 1e9;
}

static FILE* openOutput(const char* prefix, const char* extension)
{
    char path[4096];
    snprintf(path, sizeof path, "%s%s", prefix, extension);
    FILE* f = fopen(path, "wb");
    if (f == NULL)
        fprintf(stderr, "midirecord: cannot write %s: %s\n", path, strerror(errno));
    return f;
}

int main(int argc, char** argv)
{
    if (argc != 3)
    {
        fprintf(stderr, "usage: %s <rawmidi device> <output prefix>\n", argv[0]);
        return 2;
    }
    snd_rawmidi_t* in = NULL;
    int err = snd_rawmidi_open(&in, NULL, argv[1], SND_RAWMIDI_NONBLOCK);
    if (err < 0)
    {
        fprintf(stderr, "midirecord: cannot open %s: %s\n", argv[1], snd_strerror(err));
        return 1;
    }
    snd_rawmidi_params_t* params;
    snd_rawmidi_params_alloca(&params);
    snd_rawmidi_params_current(in, params);
    snd_rawmidi_params_set_buffer_size(in, params, 1 << 20);
    if ((err = snd_rawmidi_params(in, params)) < 0)
        fprintf(stderr, "midirecord: buffer stays at the driver's size: %s\n", snd_strerror(err));

    FILE* bytes = openOutput(argv[2], ".syx");
    FILE* log = openOutput(argv[2], ".log");
    if (bytes == NULL || log == NULL)
        return 1;

    struct sigaction stop;
    memset(&stop, 0, sizeof stop);
    stop.sa_handler = onStop;
    sigaction(SIGTERM, &stop, NULL);
    sigaction(SIGINT, &stop, NULL);

    const int count = snd_rawmidi_poll_descriptors_count(in);
    struct pollfd* fds = calloc((size_t)count, sizeof *fds);
    snd_rawmidi_poll_descriptors(in, fds, (unsigned)count);
    printf("READY\n");
    fflush(stdout);

    static unsigned char buffer[65536];
    long total = 0;
    const char* end = "stopped";
    while (!stopRequested)
    {
        const int ready = poll(fds, (nfds_t)count, 200);
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0)
            continue;
        unsigned short revents = 0;
        snd_rawmidi_poll_descriptors_revents(in, fds, (unsigned)count, &revents);
        const ssize_t n = snd_rawmidi_read(in, buffer, sizeof buffer);
        if (n == -EAGAIN)
        {
            if (revents & (POLLERR | POLLHUP | POLLNVAL))
            {
                end = "gone";
                break;
            }
            continue;
        }
        if (n < 0)
        {
            end = "gone";
            break;
        }
        const double at = secondsSinceBoot();
        fwrite(buffer, 1, (size_t)n, bytes);
        fflush(bytes);
        fprintf(log, "%.6f\t%ld\t%zd\n", at, total, n);
        fflush(log);
        total += n;
    }

    size_t xruns = 0;
    snd_rawmidi_status_t* status;
    snd_rawmidi_status_alloca(&status);
    if (snd_rawmidi_status(in, status) == 0)
        xruns = snd_rawmidi_status_get_xruns(status);
    fclose(bytes);
    fclose(log);
    printf("midirecord: bytes %ld xruns %zu end %s\n", total, xruns, end);
    fflush(stdout);
    snd_rawmidi_close(in);
    free(fds);
    return 0;
}
