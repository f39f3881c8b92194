/* Links all four SDL libraries of a third-party prefix and uses each once:
 *
 *   smoke FONT.ttf IMAGE.png SOUND.wav MUSIC.ogg [TEXT.pgm]
 *
 * renders "Vexaro!! ゲーム" with SDL_ttf (HarfBuzz shaping, FreeType rasterising), loads the PNG
 * with SDL_image, the WAV and the Ogg Vorbis music with SDL_mixer, shows the text in a window
 * surface, and prints
 * "smoke: ok" on success. With TEXT.pgm it also writes the alpha of the rendered text there, so
 * that two builds of the libraries can be compared pixel for pixel.
 * Under Windows and on the desktop SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy run it headless. */
#include <SDL.h>
#include <SDL_image.h>
#include <SDL_mixer.h>
#include <SDL_ttf.h>
#include <stdio.h>

static const char text[] = "Vexaro!! \xe3\x82\xb2\xe3\x83\xbc\xe3\x83\xa0";
enum { text_size = 32 };

static int fail(const char *what, const char *why)
{
    printf("smoke: FAILED: %s: %s\n", what, why);
    return 1;
}

/* The alpha of an ARGB8888 surface as a binary PGM. */
static int write_alpha_pgm(SDL_Surface *surface, const char *path)
{
    FILE *file = fopen(path, "wb");
    if (!file)
        return 0;
    fprintf(file, "P5\n%d %d\n255\n", surface->w, surface->h);
    for (int y = 0; y < surface->h; ++y) {
        const Uint32 *row = (const Uint32 *)((const Uint8 *)surface->pixels + y * surface->pitch);
        for (int x = 0; x < surface->w; ++x)
            fputc((int)(row[x] >> 24), file);
    }
    return fclose(file) == 0;
}

static void print_versions(void)
{
    const SDL_version *ttf = TTF_Linked_Version();
    const SDL_version *image = IMG_Linked_Version();
    const SDL_version *mixer = Mix_Linked_Version();
    SDL_version sdl;
    SDL_GetVersion(&sdl);
    int ft[3], hb[3];
    TTF_GetFreeTypeVersion(&ft[0], &ft[1], &ft[2]);
    TTF_GetHarfBuzzVersion(&hb[0], &hb[1], &hb[2]);
    printf("smoke: SDL %d.%d.%d, SDL_image %d.%d.%d, SDL_ttf %d.%d.%d, SDL_mixer %d.%d.%d, "
           "FreeType %d.%d.%d, HarfBuzz %d.%d.%d\n",
           sdl.major, sdl.minor, sdl.patch, image->major, image->minor, image->patch, ttf->major,
           ttf->minor, ttf->patch, mixer->major, mixer->minor, mixer->patch, ft[0], ft[1], ft[2],
           hb[0], hb[1], hb[2]);
}

int main(int argc, char *argv[])
{
    if (argc < 5 || argc > 6) {
        printf("usage: smoke FONT.ttf IMAGE.png SOUND.wav MUSIC.ogg [TEXT.pgm]\n");
        return 2;
    }
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_AUDIO | SDL_INIT_TIMER | SDL_INIT_GAMECONTROLLER) != 0)
        return fail("SDL_Init", SDL_GetError());
    if (TTF_Init() != 0)
        return fail("TTF_Init", TTF_GetError());
    if ((IMG_Init(IMG_INIT_PNG) & IMG_INIT_PNG) == 0)
        return fail("IMG_Init", IMG_GetError());
    print_versions();

    TTF_Font *font = TTF_OpenFont(argv[1], text_size);
    if (!font)
        return fail(argv[1], TTF_GetError());
    SDL_Color white = {255, 255, 255, 255};
    SDL_Surface *rendered = TTF_RenderUTF8_Blended(font, text, white);
    if (!rendered)
        return fail("TTF_RenderUTF8_Blended", TTF_GetError());
    printf("smoke: text %dx%d\n", rendered->w, rendered->h);
    if (argc == 6 && !write_alpha_pgm(rendered, argv[5]))
        return fail(argv[5], "cannot write");

    SDL_Surface *image = IMG_Load(argv[2]);
    if (!image)
        return fail(argv[2], IMG_GetError());
    printf("smoke: image %dx%d\n", image->w, image->h);

    if (Mix_OpenAudio(44100, AUDIO_S16SYS, 2, 1024) != 0)
        return fail("Mix_OpenAudio", Mix_GetError());
    Mix_Init(MIX_INIT_OGG);
    Mix_Chunk *sound = Mix_LoadWAV(argv[3]);
    if (!sound)
        return fail(argv[3], Mix_GetError());
    printf("smoke: sound %u bytes\n", (unsigned)sound->alen);
    Mix_Music *music = Mix_LoadMUS(argv[4]);
    if (!music)
        return fail(argv[4], Mix_GetError());
    if (Mix_GetMusicType(music) != MUS_OGG)
        return fail(argv[4], "not read as Ogg Vorbis");
    printf("smoke: music %.2f s\n", Mix_MusicDuration(music));

    SDL_Window *window = SDL_CreateWindow("smoke", SDL_WINDOWPOS_UNDEFINED,
                                          SDL_WINDOWPOS_UNDEFINED, 320, 120, 0);
    if (!window)
        return fail("SDL_CreateWindow", SDL_GetError());
    SDL_Surface *screen = SDL_GetWindowSurface(window);
    if (!screen)
        return fail("SDL_GetWindowSurface", SDL_GetError());
    SDL_BlitSurface(image, NULL, screen, NULL);
    SDL_BlitSurface(rendered, NULL, screen, NULL);
    SDL_UpdateWindowSurface(window);
    Mix_PlayChannel(-1, sound, 0);
    Mix_PlayMusic(music, 0);
    printf("smoke: %d game controller(s)\n", SDL_NumJoysticks());

    Mix_HaltChannel(-1);
    Mix_HaltMusic();
    Mix_FreeMusic(music);
    Mix_FreeChunk(sound);
    Mix_CloseAudio();
    SDL_DestroyWindow(window);
    SDL_FreeSurface(image);
    SDL_FreeSurface(rendered);
    TTF_CloseFont(font);
    Mix_Quit();
    IMG_Quit();
    TTF_Quit();
    SDL_Quit();
    printf("smoke: ok\n");
    return 0;
}
