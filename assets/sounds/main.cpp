// Renders one of the program's sound files:
//   ravezaz-soundgen <name> <output.wav>
#include "recipes.h"

#include <algorithm>
#include <iostream>
#include <string>

int main(int argc, char **argv)
{
    if (argc != 3) {
        std::cerr << "usage: ravezaz-soundgen <name> <output.wav>\n";
        return 2;
    }
    const std::string_view name = argv[1];
    const auto recipes = SoundRecipes();
    const auto recipe = std::ranges::find(recipes, name, &SoundRecipe::name);
    if (recipe == recipes.end()) {
        std::cerr << "ravezaz-soundgen: no sound named " << name << '\n';
        return 2;
    }
    AudioBuffer sound = recipe->render();
    if (recipe->channels == 1)
        MixToMono(sound);
    Normalize(sound, recipe->peak);
    if (!WriteWav(sound, recipe->channels, argv[2])) {
        std::cerr << "ravezaz-soundgen: cannot write " << argv[2] << '\n';
        return 1;
    }
    return 0;
}
