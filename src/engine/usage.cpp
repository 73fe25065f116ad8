#include "prediction.h"

Usage::Usage(GCode *owner)
    : m_complements(new Complements(owner)), m_particles(new Particles(owner)), m_prepositions(new Prepositions(owner))
{
}

Usage::~Usage()
{
    delete m_complements;
    delete m_particles;
    delete m_prepositions;
}
