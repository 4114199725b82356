// Tweakable variables: their text forms and writes through them.
#include <gtest/gtest.h>

#include <sstream>

#include "tweak/iVar.h"

TEST(Var, FloatsPrintSixSignificantDigits)
{
    float f = 0.1f;
    cVar<float> v("f", &f);
    EXPECT_EQ(v.toString(), "0.1");
    f = 1.0f;
    EXPECT_EQ(v.toString(), "1");
    f = 0.123456789f;
    EXPECT_EQ(v.toString(), "0.123457");
    EXPECT_EQ(v.toString(), v.toString());
}

TEST(Var, EveryTypeHasItsTextForm)
{
    int i = -42;
    double d = 2.5;
    Vec3<float> p{1.f, 0.5f, -2.f};
    std::string s = "hello world";
    float arr[4] = {};
    float* ptr = arr;
    EXPECT_EQ(cVar<int>("i", &i).toString(), "-42");
    EXPECT_EQ(cVar<double>("d", &d).toString(), "2.5");
    EXPECT_EQ(cVar<Vec3<float>>("p", &p).toString(), "(1,0.5,-2)");
    EXPECT_EQ(cVar<std::string>("s", &s).toString(), "hello world");
    std::ostringstream addr;
    addr << static_cast<const void*>(arr);
    EXPECT_EQ(cVar<float*>("ptr", &ptr).toString(), addr.str());
    static_assert(sizeof(Vec3<float>) == 3 * sizeof(float), "Vec3 is three packed floats");
}

TEST(Var, SetValueWritesTheTargetInPlace)
{
    Vec3<float> p{1.f, 2.f, 3.f};
    cVar<Vec3<float>> v("pos", &p);
    Vec3<float> q{4.f, 5.f, 6.f};
    v.setValue(&q);
    EXPECT_EQ(v.getPointer(), &p);
    EXPECT_EQ(v.toString(), "(4,5,6)");

    std::string s;
    iVar* named = new cVar<std::string>("", &s);
    std::string text = "x";
    named->setValue(&text);
    EXPECT_EQ(s, "x");
    EXPECT_EQ(named->getName(), "");
    delete named;  // freed through the interface, as the panel does
}

TEST(Var, ConsumersRecogniseTheTypeAtRunTime)
{
    float f = 0.f;
    int i = 0;
    iVar* vf = new cVar<float>("f", &f);
    iVar* vi = new cVar<int>("i", &i);
    EXPECT_NE(dynamic_cast<cVar<float>*>(vf), nullptr);
    EXPECT_EQ(dynamic_cast<cVar<float>*>(vi), nullptr);
    delete vf;
    delete vi;
}
