// Tweakable variables: their text forms and writes through them.
#include <gtest/gtest.h>

#include <sstream>

#include "runtime/cInterpolator.h"
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
    f = 123456789.f;
    EXPECT_EQ(v.toString(), "1.23457e+08");
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

// The timeline writes through the interface and must recognise the type
// behind it: a float ramp aimed at an int variable (a slip in the
// composition's table) leaves it alone rather than writing four bytes of
// float into it; the same ramp on a float writes it.
TEST(Var, AWriterOfAnotherTypeLeavesTheVariableAlone)
{
    float f = 0.f;
    int i = 7;
    cVar<float> vf("f", &f);
    cVar<int> vi("i", &i);
    cLerp<float> onFloat(&vf, 0, 100, 0.f, 1.f), onInt(&vi, 0, 100, 0.f, 1.f);
    cSetVar<int> setInt(&vi, 0, 100, 3), setIntOnFloat(&vf, 0, 100, 3);
    int t = 50;
    onFloat.apply(&t);
    onInt.apply(&t);
    EXPECT_FLOAT_EQ(f, 0.5f);
    EXPECT_EQ(i, 7);
    setIntOnFloat.apply(&t);
    EXPECT_FLOAT_EQ(f, 0.5f);
    setInt.apply(&t);
    EXPECT_EQ(i, 3);
}
