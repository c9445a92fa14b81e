#include "app/Interaction.h"
