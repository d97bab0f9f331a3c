#include "app/resources.h"

#include <QtGlobal>

void quelmarInitResources()
{
    Q_INIT_RESOURCE(images);
    Q_INIT_RESOURCE(language);
}
