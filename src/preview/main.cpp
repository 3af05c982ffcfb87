// zod_preview INPUT.TXT [OUTPUT.TXT] -o PICTURE.svg [-m<mode>] [-a | -a<cl>]: a picture of
// exchange files, before and after side by side.
#include <cstdio>
#include <cstring>
#include <vector>

#include "preview/svg.h"
#include "text/fields.h"

int main(int argc, char** argv) {
    const char* picture = nullptr;
    std::vector<const char*> inputs;
    int mode = 1;
    AllCircles all;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "-o") == 0 && i + 1 < argc)
            picture = argv[++i];
        else if (argv[i][0] == '-' && (argv[i][1] | 0x20) == 'm')
            mode = atoi_sat(argv[i] + 2);
        else if (argv[i][0] == '-' && (argv[i][1] | 0x20) == 'a') {
            // The value as the tool reads it: -a37 is colour 3, type 7.
            all.on = true;
            int n = atoi_sat(argv[i] + 2);
            all.pair = argv[i][2] != '\0';
            all.colour = all.pair ? n / 10 : -1, all.type = all.pair ? n % 10 : -1;
        } else {
            inputs.push_back(argv[i]);
        }
    }
    if (!picture || inputs.empty() || inputs.size() > 2) {
        std::fputs("usage: zod_preview INPUT.TXT [OUTPUT.TXT] -o PICTURE.svg [-m<mode>] "
                   "[-a | -a<cl>]\n",
                   stderr);
        return 2;
    }
    std::vector<Scene> scenes(inputs.size());
    std::vector<const Scene*> view;
    for (std::size_t i = 0; i < inputs.size(); ++i) {
        if (!load_scene(inputs[i], scenes[i], all)) {
            std::fprintf(stderr, "zod_preview: cannot read %s\n", inputs[i]);
            return 1;
        }
        view.push_back(&scenes[i]);
    }
    std::string svg = render_svg(view, mode);
    std::FILE* f = std::fopen(picture, "wb");
    bool ok = f && std::fwrite(svg.data(), 1, svg.size(), f) == svg.size();
    ok = f && std::fclose(f) == 0 && ok;
    if (!ok) std::fprintf(stderr, "zod_preview: cannot write %s\n", picture);
    return ok ? 0 : 1;
}
