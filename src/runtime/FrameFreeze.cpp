#include "FrameFreeze.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "ImageSurface.h"

namespace {
int g_freezePipe[2] = {-1, -1};

void OnFreezeSignal(int signalNumber)
{
    const char request = signalNumber == SIGUSR1 ? 'f' : 't';
    const ssize_t written = write(g_freezePipe[1], &request, 1);
    (void)written; // a full pipe already holds requests enough
}
} // namespace

bool InstallFrameFreeze()
{
    if (pipe2(g_freezePipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return false;
    struct sigaction action {};
    action.sa_handler = OnFreezeSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    return sigaction(SIGUSR1, &action, nullptr) == 0 && sigaction(SIGUSR2, &action, nullptr) == 0;
}

int GetFrameFreezeFd()
{
    return g_freezePipe[0];
}

bool TakeFrameFreezeRequests(bool frozen)
{
    char requests[16];
    ssize_t count = 0;
    while ((count = read(g_freezePipe[0], requests, sizeof requests)) > 0) {
        for (ssize_t index = 0; index < count; ++index)
            frozen = requests[index] == 'f';
    }
    return frozen;
}

bool WriteFrameReference(CScene& scene, int32_t width, int32_t height)
{
    const char* path = std::getenv("ASCENDA_FRAME_REFERENCE");
    if (path == nullptr || *path == '\0')
        return false;
    CImageSurface image(width, height);
    scene.DrawWhole(image, width, height);
    DevicePoint text{-1, -1};
    if (!image.GetTextCorner(text))
        text = {-1, -1};
    const std::string partial = std::string(path) + ".part";
    FILE* file = std::fopen(partial.c_str(), "wb");
    if (file == nullptr)
        return false;
    std::fprintf(file, "P6\n# text %d %d\n%d %d\n255\n", static_cast<int>(text.x), static_cast<int>(text.y),
                 static_cast<int>(image.GetWidth()), static_cast<int>(image.GetHeight()));
    std::vector<Colour> pixels(static_cast<size_t>(image.GetWidth()));
    std::vector<unsigned char> row(pixels.size() * 3);
    for (int32_t y = 0; y < image.GetHeight(); ++y) {
        image.ReadRow(y, pixels.data());
        for (size_t x = 0; x < pixels.size(); ++x) {
            const Colour colour = pixels[x];
            row[x * 3] = static_cast<unsigned char>(RedOf(colour));
            row[x * 3 + 1] = static_cast<unsigned char>(GreenOf(colour));
            row[x * 3 + 2] = static_cast<unsigned char>(BlueOf(colour));
        }
        std::fwrite(row.data(), 1, row.size(), file);
    }
    const bool written = std::fclose(file) == 0;
    return written && std::rename(partial.c_str(), path) == 0;
}
