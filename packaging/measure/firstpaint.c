/* firstpaint: starts a program and reports, in seconds since just before it
 * was started, when its top-level windows are mapped and when the window
 * whose title contains a given text is first drawn into (the first DAMAGE
 * event on it after it was mapped). Then it leaves the program running and
 * exits, so that the caller can go on measuring the same process.
 *
 *   firstpaint [--name TEXT] [--wake-after SECONDS] [--timeout SECONDS]
 *              -- program [arguments...]
 *
 * Output, one fact a line:
 *   pid <pid>
 *   first-mapped <seconds>          the first top-level window (a splash, say)
 *   first-painted <seconds>         the first drawing into a mapped window
 *   woke <seconds>                  with --wake-after: the first time after
 *                                   SECONDS that the program's main thread
 *                                   ran again (read from /proc/<pid>/schedstat
 *                                   every millisecond), e.g. a splash timer
 *   mapped <seconds> <width>x<height>  the window whose title holds TEXT
 *   painted <seconds>               its first drawing
 * Exit status 0 when "painted" was reached, 1 otherwise (the program is then
 * killed). The program's own output goes to our standard error. Needs an X server with the DAMAGE extension (Xvfb has it) and no
 * window manager, so that top-level windows are children of the root. */
#define _POSIX_C_SOURCE 200809L

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>
#include <X11/extensions/Xdamage.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>

/* Time the main thread has run, in nanoseconds; 0 when unreadable. */
static unsigned long long runTime(pid_t pid)
{
    char path[64];
    snprintf(path, sizeof path, "/proc/%d/schedstat", (int)pid);
    FILE* file = fopen(path, "r");
    unsigned long long ns = 0;
    if (file) {
        if (fscanf(file, "%llu", &ns) != 1)
            ns = 0;
        fclose(file);
    }
    return ns;
}

static double now(void)
{
    struct timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return (double)ts.tv_sec + (double)ts.tv_nsec / 1e9;
}

/* Windows come and go while we look at them; a request on one that is gone
 * is no failure of ours. */
static int ignoreErrors(Display* display, XErrorEvent* error)
{
    (void)display;
    (void)error;
    return 0;
}

/* Whether the window's title (_NET_WM_NAME, else WM_NAME) contains text. */
static int titleContains(Display* display, Window window, const char* text)
{
    const Atom names[] = {XInternAtom(display, "_NET_WM_NAME", False), XA_WM_NAME};
    for (size_t i = 0; i < sizeof names / sizeof names[0]; ++i) {
        Atom type = None;
        int format = 0;
        unsigned long count = 0;
        unsigned long after = 0;
        unsigned char* value = NULL;
        if (XGetWindowProperty(display, window, names[i], 0, 1024, False, AnyPropertyType, &type,
                               &format, &count, &after, &value) == Success &&
            value) {
            const int found = format == 8 && strstr((const char*)value, text) != NULL;
            XFree(value);
            if (found)
                return 1;
        }
    }
    return 0;
}

int main(int argc, char** argv)
{
    const char* name = "";
    double timeout = 60.0;
    double wakeAfter = 0.0;
    int first = 1;
    while (first < argc && strcmp(argv[first], "--") != 0) {
        if (strcmp(argv[first], "--name") == 0 && first + 1 < argc)
            name = argv[++first];
        else if (strcmp(argv[first], "--wake-after") == 0 && first + 1 < argc)
            wakeAfter = atof(argv[++first]);
        else if (strcmp(argv[first], "--timeout") == 0 && first + 1 < argc)
            timeout = atof(argv[++first]);
        else {
            fprintf(stderr, "usage: firstpaint [--name TEXT] [--timeout S] -- program [args]\n");
            return 2;
        }
        ++first;
    }
    if (first + 1 >= argc) {
        fprintf(stderr, "usage: firstpaint [--name TEXT] [--timeout S] -- program [args]\n");
        return 2;
    }

    Display* display = XOpenDisplay(NULL);
    if (!display) {
        fprintf(stderr, "firstpaint: cannot open the display\n");
        return 2;
    }
    int damageEvent = 0;
    int damageError = 0;
    if (!XDamageQueryExtension(display, &damageEvent, &damageError)) {
        fprintf(stderr, "firstpaint: the X server has no DAMAGE extension\n");
        return 2;
    }
    XSetErrorHandler(ignoreErrors);
    const Window root = DefaultRootWindow(display);
    XSelectInput(display, root, SubstructureNotifyMask);
    XSync(display, False);
    const int fd = ConnectionNumber(display);
    fcntl(fd, F_SETFD, FD_CLOEXEC);

    fflush(stdout);
    const double start = now();
    const pid_t child = fork();
    if (child < 0) {
        perror("firstpaint: fork");
        return 2;
    }
    if (child == 0) {
        /* Our standard output carries the facts alone; the program's goes to
         * our error output, and it must not hold our output pipe open. */
        dup2(STDERR_FILENO, STDOUT_FILENO);
        execvp(argv[first + 1], argv + first + 1);
        perror("firstpaint: exec");
        _exit(127);
    }
    printf("pid %d\n", (int)child);
    fflush(stdout);

    /* Every new top-level window is watched for drawing from its creation on,
     * before it can be mapped and painted, so no first drawing is missed. */
    Window target = None;
    Window mapped[256];
    size_t mappedCount = 0;
    int anyPainted = 0;
    int painted = 0;
    int woke = 0;
    unsigned long long lastRunTime = 0;
    while (!painted) {
        const double left = start + timeout - now();
        if (left <= 0) {
            fprintf(stderr, "firstpaint: no painted window within %.0f s\n", timeout);
            break;
        }
        int status = 0;
        if (waitpid(child, &status, WNOHANG) == child) {
            fprintf(stderr, "firstpaint: the program ended (status %d)\n", status);
            return 1;
        }
        /* Waiting for a wake-up: sample the run time every millisecond. */
        const int sampling = wakeAfter > 0 && !woke && target == None && now() - start >= wakeAfter;
        if (sampling) {
            const unsigned long long ran = runTime(child);
            if (lastRunTime != 0 && ran > lastRunTime) {
                woke = 1;
                printf("woke %.4f\n", now() - start);
                fflush(stdout);
            }
            lastRunTime = ran;
        }
        if (!XPending(display)) {
            struct pollfd p = {fd, POLLIN, 0};
            poll(&p, 1, sampling ? 1 : left < 0.1 ? (int)(left * 1000) + 1 : 20);
            continue;
        }
        XEvent event;
        XNextEvent(display, &event);
        const double t = now() - start;
        if (event.type == CreateNotify && event.xcreatewindow.parent == root) {
            XDamageCreate(display, event.xcreatewindow.window, XDamageReportNonEmpty);
        } else if (event.type == MapNotify && event.xmap.event == root) {
            const Window window = event.xmap.window;
            if (mappedCount == 0)
                printf("first-mapped %.4f\n", t);
            if (mappedCount < sizeof mapped / sizeof mapped[0])
                mapped[mappedCount++] = window;
            if (target == None && titleContains(display, window, name)) {
                XWindowAttributes attributes;
                XGetWindowAttributes(display, window, &attributes);
                target = window;
                printf("mapped %.4f %dx%d\n", t, attributes.width, attributes.height);
            }
        } else if (event.type == damageEvent + XDamageNotify) {
            const XDamageNotifyEvent* damage = (const XDamageNotifyEvent*)&event;
            for (size_t i = 0; i < mappedCount && !anyPainted; ++i) {
                if (mapped[i] == damage->drawable) {
                    anyPainted = 1;
                    printf("first-painted %.4f\n", t);
                }
            }
            if (target != None && damage->drawable == target) {
                printf("painted %.4f\n", t);
                painted = 1;
            }
            XDamageSubtract(display, damage->damage, None, None);
        }
        fflush(stdout);
    }
    XCloseDisplay(display);
    if (!painted) {
        kill(child, SIGTERM);
        return 1;
    }
    return 0;
}
