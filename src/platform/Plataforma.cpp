#include "platform/Plataforma.h"

Plataforma::~Plataforma() = default;
