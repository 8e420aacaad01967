#include "app/HalvornApplication.h"
#include "app/Startup.h"

int main(int argc, char** argv)
{
    halvorn::HalvornApplication app(argc, argv);
    if (!halvorn::Main())
        return 1;
    return app.exec();
}
